#pragma once

// One Qt Test object per window or layer; main runs them all in one application.
int runAboutBoxTests(int argc, char** argv);
int runBatchDialogTests(int argc, char** argv);
int runCaptionLabelTests(int argc, char** argv);
int runIconTests(int argc, char** argv);
int runMessageBoxTests(int argc, char** argv);
int runSelectFolderDialogTests(int argc, char** argv);
int runViewFirstImageTests(int argc, char** argv);
