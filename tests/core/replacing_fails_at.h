#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <system_error>

#include "core/io/file_ops.h"

namespace habuki::test {

// One call of a replacement made to fail, and the error the write must then give. Each system
// lists its own calls and instantiates ReplacingFailsAt with them.
struct FailingStep {
  const char* name;
  void (*breakIn)(FileOps& ops);
  std::error_code error;  // compared as a condition: Windows tells its own error for it
};

inline std::ostream& operator<<(std::ostream& out, const FailingStep& step) {
  return out << step.name;
}

inline std::string StepName(const testing::TestParamInfo<FailingStep>& info) {
  return info.param.name;
}

inline FileOps OpsFailingAt(const FailingStep& step) {
  FileOps ops = SystemFileOps();
  step.breakIn(ops);
  return ops;
}

class ReplacingFailsAt : public testing::TestWithParam<FailingStep> {};

}  // namespace habuki::test
