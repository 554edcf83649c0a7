#include <gtest/gtest.h>

#include "web/fetch_page.h"

namespace {

// The HTTP library is set up once per test program, before any test fetches.
class WebEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { quill::InitWeb(); }
};

const auto* const kWebEnvironment = ::testing::AddGlobalTestEnvironment(new WebEnvironment);

} // namespace
