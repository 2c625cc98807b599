#pragma once

// One Qt Test object per window or layer; main runs them all in one application.
int runChartLayersTests(int argc, char** argv);
int runBitrateDlgTests(int argc, char** argv);
