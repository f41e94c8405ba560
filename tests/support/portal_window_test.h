#pragma once

#include "support/demo_portal.h"
#include "ui/main/form1.h"

#include <gtest/gtest.h>

#include <memory>

namespace zorvia::test {

// A suite with the demo portal running from its first test to its last;
// each test starts with the main window made, started and shown against it.
class PortalWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override { form.reset(); }

    static DemoPortal* portal_;
    std::unique_ptr<TForm1> form;
};

} // namespace zorvia::test
