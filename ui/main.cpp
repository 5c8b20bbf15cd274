// Vorlakin: looks up a parcel's delivery progress.
#include "ui/startup.h"

int main(int argc, char** argv) { return vorlakin::RunProgram(argc, argv); }
