#pragma once

// Registers the program's compiled-in resources (the icons under ":/icons"). The window
// library is static, and a linker keeps none of its resource data unless something calls
// for it: every executable that shows our windows calls this once, after creating its
// application object.
void initUiResources();
