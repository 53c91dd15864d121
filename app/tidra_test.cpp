#include "app/tidra.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Runs tidra_main with `argv` and returns what it wrote.
std::string run(int argc, char** argv, int* status) {
  FILE* out = tmpfile();
  EXPECT_NE(nullptr, out);
  *status = tidra_main(argc, argv, out);
  std::string text;
  rewind(out);
  for (int c; (c = fgetc(out)) != EOF;) {
    text += static_cast<char>(c);
  }
  fclose(out);
  return text;
}

TEST(TidraMain, EmptyArgumentVectorWritesTheDefaultDate) {
  char* argv[] = {nullptr};
  int status = -1;
  const std::string out = run(0, argv, &status);
  EXPECT_EQ(0, status);
  ASSERT_EQ(6u, out.size()) << out;
  EXPECT_EQ(std::string::npos, out.find_first_not_of("0123456789")) << out;
}

TEST(TidraMain, SeparatorCutsTextsInPlace) {
  char prog[] = "tidra", text1[] = "a;b", text2[] = ";c;d", sep[] = "-i;", pattern[] = "-f";
  char* argv[] = {prog, text1, sep, text2, pattern, nullptr};
  int status = -1;
  EXPECT_EQ("a;c", run(5, argv, &status));
  EXPECT_EQ(0, status);
  EXPECT_STREQ("a", text1);
  EXPECT_STREQ(";c", text2);
}

}  // namespace
