// Prints what the message box with a given caption shows, for the
// end-to-end tests of message boxes under Wine, where the box's text and
// icon are no windows of their own that X could see:
//   window_texts CAPTION
// One line per child window: its class, its text, and which icon a picture
// holds ("error icon", "information icon" or "other icon"). Exits 0 if the
// box was found, 1 if not.

#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

const int ICON_SIDE = 32;

// The pixels of a square of the screen, or of an icon drawn on a colour.
std::vector<COLORREF> squarePixels(int left, int top, HICON icon, COLORREF background)
{
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, ICON_SIDE, ICON_SIDE);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool drawn;
    if (icon) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = { 0, 0, ICON_SIDE, ICON_SIDE };
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        drawn = DrawIconEx(memory, 0, 0, icon, ICON_SIDE, ICON_SIDE, 0, nullptr, DI_NORMAL);
    } else {
        drawn = BitBlt(memory, 0, 0, ICON_SIDE, ICON_SIDE, screen, left, top, SRCCOPY);
    }
    for (int y = 0; drawn && y < ICON_SIDE; ++y)
        for (int x = 0; x < ICON_SIDE; ++x)
            pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Whether the screen shows this icon at the picture's place: compared where
// the icon is opaque, which is where it draws the same on black and white.
bool showsIcon(HWND picture, LPCSTR which)
{
    RECT place;
    GetWindowRect(picture, &place);
    HICON icon = LoadIconA(nullptr, which);
    std::vector<COLORREF> shown = squarePixels(place.left, place.top, nullptr, 0);
    std::vector<COLORREF> onBlack = squarePixels(0, 0, icon, RGB(0, 0, 0));
    std::vector<COLORREF> onWhite = squarePixels(0, 0, icon, RGB(255, 255, 255));
    if (shown.empty() || onBlack.empty() || onWhite.empty())
        return false;
    int opaque = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (onBlack[i] != onWhite[i])
            continue;
        if (shown[i] != onBlack[i])
            return false;
        ++opaque;
    }
    return opaque > ICON_SIDE * ICON_SIDE / 4;
}

// Which of the system's icons a box's picture shows. The handle it holds
// belongs to the box's process, so it is told by what the screen shows.
const char* iconName(HWND picture)
{
    if (showsIcon(picture, IDI_ERROR))
        return "error icon";
    if (showsIcon(picture, IDI_INFORMATION))
        return "information icon";
    return "other icon";
}

BOOL CALLBACK printChild(HWND child, LPARAM)
{
    char className[64] = "";
    char text[512] = "";
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    bool picture = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    // A box whose program hangs or has gone must not hang this one.
    DWORD_PTR held = 0;
    bool icon = picture
        && SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &held) && held;
    // A line break inside the text shows as \n, so that each child is one line.
    std::string shown;
    for (const char* c = text; *c; ++c)
        shown += *c == '\n' ? std::string("\\n") : *c == '\r' ? std::string() : std::string(1, *c);
    printf("%s|%s|%s\n", className, shown.c_str(), icon ? iconName(child) : "");
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: window_texts CAPTION\n");
        return 2;
    }
    // A message box is a dialog: the main window may have the same caption.
    HWND window = FindWindowA("#32770", argv[1]);
    if (!window)
        return 1;
    EnumChildWindows(window, printChild, 0);
    return 0;
}
