#include "support/portal_window_test.h"

#include <QTest>

namespace zorvia::test {

DemoPortal* PortalWindowTest::portal_ = nullptr;

void PortalWindowTest::SetUpTestSuite() {
    portal_ = new DemoPortal;
}

void PortalWindowTest::TearDownTestSuite() {
    delete portal_;
    portal_ = nullptr;
}

void PortalWindowTest::SetUp() {
    ASSERT_TRUE(portal_->running()) << portal_->error().toStdString();
    qputenv("ZORVIA_SITE_HOST", portal_->host().toUtf8());
    form = std::make_unique<TForm1>();
    form->FormCreate();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

} // namespace zorvia::test
