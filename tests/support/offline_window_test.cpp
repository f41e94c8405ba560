#include "support/offline_window_test.h"

#include <QTest>

namespace zorvia::test {

void OfflineWindowTest::SetUp() {
    qputenv("ZORVIA_SITE_HOST", "127.0.0.1:9");
    form = std::make_unique<TForm1>();
    form->FormCreate();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

} // namespace zorvia::test
