#include "app/control_panel.h"

int32_t color1Red = 255, color1Green = 0, color1Blue = 0;
int32_t color2Red = 0, color2Green = 255, color2Blue = 255;
int32_t editedColor = 1;

void buildControlPanel()
{
}
