#pragma once

// One Qt Test object per part of the player; main runs them all in one application.
int runStartUpTests(int argc, char** argv);
int runCommandTests(int argc, char** argv);
int runRecordingTests(int argc, char** argv);
int runFrameSliderTests(int argc, char** argv);
int runParameterTests(int argc, char** argv);
int runDialogTests(int argc, char** argv);
int runViewTests(int argc, char** argv);
int runOpeningTests(int argc, char** argv);
int runTranslationTests(int argc, char** argv);
