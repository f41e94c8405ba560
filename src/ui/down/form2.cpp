#include "ui/down/form2.h"

#include "skin/stored_skin.h"
#include "ui/down/progress_delegate.h"
#include "ui/kit/qtext.h"
#include "ui/kit/ui_font.h"

#include <QHeaderView>
#include <QShowEvent>
#include <QTreeWidget>

namespace zorvia {

TForm2* Form2 = nullptr;

namespace {

constexpr int kNameColumnWidth = 200;
constexpr int kProgressColumnWidth = 306;

} // namespace

TForm2::TForm2(QWidget* owner, AnsiString dataFolder)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dataFolder_(std::move(dataFolder)) {
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("下载管理"));
    setFont(ui::uiFont());
    setFixedSize(kClientWidth, kClientHeight);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(0, 0, kClientWidth, kClientHeight);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setItemDelegateForColumn(1, new ui::ProgressDelegate(ListView1));

    // The stream client's fixed settings: host and port are set
    // for each download; an over-long line of a reply head is an error.
    NetTCPClient1.SetMaxLineAction(TNetMaxLineAction::maException);
    NetTCPClient1.SetReadTimeout(0);
    NetTCPClient1.SetPort(0);

    SkinData1.SetOwner(this);
    SkinData1.ReadSkinStream(skin::storedSkinStream());
    SkinData1.Loaded();

    FormCreate();
}

TForm2::~TForm2() {
    if (Form2 == this)
        Form2 = nullptr;
}

void TForm2::FormCreate() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QStringLiteral("游戏名称"), QStringLiteral("下载进度")});
    ListView1->setColumnWidth(0, kNameColumnWidth);
    ListView1->setColumnWidth(1, kProgressColumnWidth);
}

void TForm2::showEvent(QShowEvent* event) {
    // Centred over the owner the first time it shows; where the user puts it
    // afterwards is where it stays.
    if (!placed_ && !event->spontaneous()) {
        placed_ = true;
        if (const QWidget* owner = parentWidget()) {
            const QRect area = owner->frameGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    QDialog::showEvent(event);
}

void TForm2::AddDownloadItem(const AnsiString& title) {
    auto* row = new QTreeWidgetItem(ListView1);
    row->setText(0, ui::toQ(title));
    row->setText(1, QStringLiteral("请稍后..."));
}

QString TForm2::statusText() const {
    const QTreeWidgetItem* row = ListView1->topLevelItem(0);
    return row ? row->text(1) : QString();
}

bool TForm2::statusFailed() const {
    const QTreeWidgetItem* row = ListView1->topLevelItem(0);
    return row && row->data(1, ui::ProgressDelegate::kFailedRole).toBool();
}

void TForm2::markFailed() {
    if (QTreeWidgetItem* row = ListView1->topLevelItem(0))
        row->setData(1, ui::ProgressDelegate::kFailedRole, true);
}

void TForm2::setStatus(const QString& text, double fraction) {
    QTreeWidgetItem* row = ListView1->topLevelItem(0);
    if (!row)
        return;
    row->setData(1, ui::ProgressDelegate::kProgressRole,
                 fraction < 0 ? QVariant() : QVariant(fraction));
    row->setText(1, text);
}

} // namespace zorvia
