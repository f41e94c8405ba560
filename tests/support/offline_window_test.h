#pragma once

#include "ui/main/form1.h"

#include <gtest/gtest.h>

#include <memory>

namespace zorvia::test {

// Each test starts with the main window made, started and shown against a
// portal that cannot be reached.
class OfflineWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { form.reset(); }

    std::unique_ptr<TForm1> form;
};

} // namespace zorvia::test
