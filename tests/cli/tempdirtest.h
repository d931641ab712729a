#pragma once
// A test fixture owning a fresh temporary folder, removed after each test,
// with helpers to name, read and probe the files in it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char t[] = "/tmp/qvclitestXXXXXX";
    ASSERT_NE(mkdtemp(t), nullptr);
    dir_ = t;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Read(const std::string& name) const {
    std::ifstream f(Path(name), std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  bool Exists(const std::string& name) const { return access(Path(name).c_str(), F_OK) == 0; }

  std::string dir_;
};
