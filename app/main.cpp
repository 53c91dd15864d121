#include <cstdio>

#include "app/tidra.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  set_stdout_binary();
  return tidra_main(argc, argv, stdout);
}
