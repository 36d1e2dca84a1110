// Prints, as a binary PPM on stdout, the frame the program shows right after
// start-up, drawn by the program's own drawScreen into a plain buffer; with
// the argument "lit", the frame after L. The end-to-end tests compare the
// real window against it.

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/frame.h"
#include "app/shell.h"
#include "app/state.h"

int main(int argc, char** argv)
{
    if (setUpSession() != SESSION_READY) {
        fprintf(stderr, "could not set up the session\n");
        return 1;
    }
    if (argc > 1 && strcmp(argv[1], "lit") == 0)
        slotArea = SlotArea::LIT;
    std::vector<Pixel> buffer(WINDOW_WIDTH * WINDOW_HEIGHT, BACKGROUND_COLOR);
    drawScreen(Canvas { buffer.data(), WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_WIDTH });
    tearDownSession();

    printf("P6\n%d %d\n255\n", WINDOW_WIDTH, WINDOW_HEIGHT);
    for (Pixel pixel : buffer) {
        unsigned char rgb[3]
            = { (unsigned char)(pixel >> 16), (unsigned char)(pixel >> 8), (unsigned char)pixel };
        fwrite(rgb, 1, 3, stdout);
    }
    return 0;
}
