// The readers of the renderer's options, each an OptionReader that OPTIONS
// names (options.cpp): a value read and checked into CommandOptions, or
// refused with one line that quotes it.
#pragma once

#include <string>

#include "render/options.h"

bool readOutput(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readSlot(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readSize(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readFormat(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readDepth(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readBits(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readPictureKind(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readHeightSlot(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readEngine(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readRelief(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readNormalY(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readThreads(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readMaxSteps(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readSeed(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);
bool readQuiet(const OptionDeclaration&, const char* value, CommandOptions*, std::string*);

// What --relief's help says of it, with its bounds and its default; made on
// the first call, so that OPTIONS may be made from it in any order.
const char* reliefHelp();
