// The golden file of the 30 cases: per case its eight view texts and its
// command line for the reference inputs.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

using GoldenCase = std::map<std::string, std::string>;

inline std::vector<GoldenCase> ReadGoldenCases() {
  std::ifstream file(std::string(QUINTOR_TEST_DATA_DIR) + "/case_views.txt", std::ios::binary);
  std::vector<GoldenCase> cases;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      cases.emplace_back();
      cases.back()["number"] = line.substr(1, line.size() - 2);
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || cases.empty()) {
      ADD_FAILURE() << "bad golden line: " << line;
      continue;
    }
    cases.back()[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return cases;
}
