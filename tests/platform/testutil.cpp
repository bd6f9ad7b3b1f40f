// Kept for test folders that still compile this file by path instead of
// linking testsupport; the code itself lives in tests/support.
#include "../support/scopedenv.cpp"
#include "../support/tempdir.cpp"
