#include "startup_qt.h"

int main(int argc, char** argv) { return runKorvelConfig(argc, argv); }
