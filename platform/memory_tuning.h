#pragma once

// Lets the allocator keep the memory of freed images for the next ones. The batch tools allocate
// and free images of several megabytes for every file; by default the C library hands each
// back to the system and the next image then faults every page in afresh, which cost a Scale
// run more time than resampling. With this, blocks up to 64 MiB come from the heap and up to
// 128 MiB of free heap is kept. Called once, at the start of a program.
void KeepFreedImageMemory();
