/* Runs a command and prints its peak resident memory in KiB. Built
   statically and kept tiny, since the kernel counts the memory a child
   shares with its parent before exec as the child's own. */
#include <spawn.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

int main(int argc, char** argv) {
  if (argc < 2) {
    fputs("usage: peak COMMAND [ARG...]\n", stderr);
    return 2;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1 /* O_WRONLY */, 0);
  pid_t pid;
  if (posix_spawnp(&pid, argv[1], &actions, NULL, argv + 1, environ) != 0) {
    perror(argv[1]);
    return 2;
  }
  int status;
  struct rusage usage;
  if (wait4(pid, &status, 0, &usage) < 0) {
    perror("wait4");
    return 2;
  }
  printf("%ld\n", usage.ru_maxrss);
  return 0;
}
