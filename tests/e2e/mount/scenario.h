#pragma once
// The scenarios on the test machine, and the letters parvola.exe gave there.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/mount/machine.h"

namespace e2e {

// Every scenario starts and ends with the machine's volumes letterless and no
// device records, whatever the scenario before it left.
class MachineScenario : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<TestVolume> volumes_;
};

// Kernel object names ignore case, so a target names the same device in any
// case it is written in: targets compare in lower case.
std::wstring Lower(std::wstring text);

// L'e' -> L"E:".
std::wstring Drive(wchar_t lowerLetter);

// The drive (upper case, with colon) whose target is `device`, or empty.
std::wstring LetterOf(const std::wstring& device);

}  // namespace e2e
