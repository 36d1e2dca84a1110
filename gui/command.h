// What a button runs: a plain function acting on the application's state.
#pragma once

typedef void (*Command)();
