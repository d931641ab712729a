// Writes the user block list that is installed beside the program: the user
// blocks that the given diagram files bring with them, in the order met.
// Run: qv_make_userblocks OUT.blu DIAGRAM.fgd...
#include <cstdio>
#include <string>

#include "model/shem.h"
#include "model/userblocklist.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: qv_make_userblocks OUT.blu DIAGRAM.fgd...\n");
    return 2;
  }
  TUserBlockList list;
  for (int i = 2; i < argc; ++i) {
    TShem d;
    d.UserBlocks = &list;
    std::string error;
    if (!d.LoadFromFile(argv[i], &error)) {
      std::fprintf(stderr, "qv_make_userblocks: %s\n", error.c_str());
      return 1;
    }
  }
  std::string error;
  if (list.Count() == 0 || !list.SaveToFile(argv[1], &error)) {
    std::fprintf(stderr, "qv_make_userblocks: no user blocks written to %s %s\n", argv[1],
                 error.c_str());
    return 1;
  }
  return 0;
}
