// Quorvalin: the flowchart editor's entry point and its exported LoadFile.
#include "app/application.h"
#include "app/mainform.h"

// Opens a diagram file in the running editor; plug-ins reach it by name.
extern "C" __attribute__((visibility("default"))) void LoadFile(const char* fileName) {
  MainFormLoadFile(fileName);
}

int main(int argc, char** argv) { return RunQuorvalin(argc, argv); }
