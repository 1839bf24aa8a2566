// Files for tests: a whole file's bytes, and a fixture whose every test has
// an empty folder of its own under the temporary folder, named after the
// test and this run (two runs at once never share one), removed after it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

inline std::string fileBytes(const std::string& path) {
    std::ostringstream all;
    all << std::ifstream(std::filesystem::u8path(path), std::ios::binary).rdbuf();
    return all.str();
}

class TestFolder : public ::testing::Test {
  protected:
    explicit TestFolder(const char* prefix) : prefix(prefix) {}
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              (prefix + runToken() + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const {
        return (dir / std::filesystem::u8path(name)).u8string();
    }
    // Writes `bytes` as the file `name` in the folder; its path.
    std::string put(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::u8path(path(name)).parent_path());
        std::ofstream(std::filesystem::u8path(path(name)), std::ios::binary) << bytes;
        return path(name);
    }

    std::filesystem::path dir;

  private:
    static const std::string& runToken() {
        static const std::string token = std::to_string(std::random_device{}());
        return token;
    }
    std::string prefix;
};
