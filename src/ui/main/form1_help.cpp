// Game-page probes: the game buttons and the help strip.
#include "browser/web_browser.h"
#include "ui/kit/guarded.h"
#include "ui/kit/page_control.h"
#include "ui/kit/qtext.h"
#include "ui/main/form1_workspace.h"
#include "ui/main/page_children.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zorvia {

namespace {

constexpr int kStripHeight = 60;
constexpr int kMemoWidth = 700;
constexpr int kMemoHeight = 58;
constexpr int kButtonGap = 10;
constexpr int kButtonTop = 10;
constexpr QSize kButtonSize{75, 25};

} // namespace

void TForm1::Workspace::probeGamePage(const TWebBrowser* browser) {
    if (!browser)
        return;
    if (!GetPageElement(browser->Document(), QStringLiteral("swfurl")))
        return;
    form.Button_favor->setEnabled(true);
    form.Button_down->setEnabled(true);
    form.Button_help->setEnabled(true);
}

void TForm1::WebBrowserDocumentComplete(TWebBrowser* sender, const BrowserApplication& /*pDisp*/,
                                        const QString& /*url*/) {
    workspace_->probeGamePage(sender);
}

void TForm1::Button_helpClick(QObject* /*sender*/) {
    ui::TTabSheet* page = PageControl2->activePage();
    const TWebBrowser* browser = pageBrowser(page);
    if (!browser)
        return;
    const std::optional<HtmlElement> help =
        GetPageElement(browser->Document(), QStringLiteral("swfhelp"));
    if (!help)
        return;
    const AnsiString text = ui::fromQ(help->innerHTML());
    const QList<QWidget*> controls = ui::childControls(page);
    if (controls.size() < 2) {
        CreateHelpPanel(text);
        return;
    }
    // The strip was built for an earlier page of this tab: show the help of
    // the game the tab shows now.
    QWidget* strip = controls.at(1);
    if (auto* memo = strip->findChild<QPlainTextEdit*>(QString(), Qt::FindDirectChildrenOnly))
        memo->setPlainText(ui::toQ(text));
    strip->show();
}

QFrame* TForm1::CreateHelpPanel(const AnsiString& text) {
    ui::TTabSheet* page = PageControl2->activePage();
    auto* panel = new QFrame(page);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(0, page->height() - kStripHeight, page->width(), kStripHeight);

    auto* memo = new QPlainTextEdit(panel);
    memo->setGeometry(0, 0, kMemoWidth, kMemoHeight);
    memo->setReadOnly(true);
    memo->setPlainText(ui::toQ(text));

    auto* button = new QPushButton(QStringLiteral("关闭帮助"), panel);
    button->setGeometry(QRect(QPoint(memo->width() + kButtonGap, kButtonTop), kButtonSize));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            ui::guarded([this, button](bool) { Button_CloseButtonClick(button); }));

    panel->show();
    return panel;
}

void TForm1::Button_CloseButtonClick(QObject* /*sender*/) {
    const QList<QWidget*> controls = ui::childControls(PageControl2->activePage());
    if (controls.size() > 1)
        controls.at(1)->hide();
}

} // namespace zorvia
