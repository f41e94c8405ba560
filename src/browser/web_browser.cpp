#include "browser/web_browser.h"

#include "browser/browser_page.h"
#include "browser/client_align.h"
#include "browser/crash_notice.h"
#include "browser/full_screen_window.h"
#include "browser/web_profile.h"
#include "player/movie_page.h"

#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <utility>

namespace zorvia {

namespace {

QUrl addressFromText(const QString& url) {
    if (url.startsWith(u'/'))
        return QUrl::fromLocalFile(url);
    return QUrl::fromUserInput(url);
}

// A local movie's page reports the movie file's address.
QString addressText(const QUrl& url) {
    return url.isEmpty() ? QString() : player::fileAddress(url).toString(QUrl::FullyEncoded);
}

} // namespace

// Counts the engine callbacks running on a browser, so that a handler that
// destroys the browser inside one does not free the page under the engine.
class TWebBrowser::CallbackScope {
public:
    explicit CallbackScope(TWebBrowser* browser) : browser_(browser) { ++browser->callbackDepth_; }
    ~CallbackScope() {
        if (browser_)
            --browser_->callbackDepth_;
    }
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;
    bool alive() const { return !browser_.isNull(); }

private:
    QPointer<TWebBrowser> browser_;
};

TWebBrowser::TWebBrowser(QWidget* parent)
    : QWidget(parent), markerNames_(browser::defaultMarkerNames()) {
    page_ = std::make_unique<browser::BrowserPage>(browser::sharedProfile(), nullptr);
    bindPage();
    view_ = new QWebEngineView(this);
    view_->setPage(page_.get());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    // Until the browser loads something its view would show only white; it
    // stays unshown meanwhile and the browser paints that white itself, so
    // a browser waiting for its first page costs no drawing set-up.
    view_->hide();

    // A control placed on a parent is visible with it.
    if (parent)
        show();
}

void TWebBrowser::bindPage() {
    page_->setNewWindowHandler([this](QWebEnginePage::WebWindowType) { return newWindowTarget(); });
    page_->setNavigationHandler(
        [this](const QUrl& url, bool /*isMainFrame*/) { return beforeNavigate(url); });
    connect(page_.get(), &QWebEnginePage::titleChanged, this, [this](const QString& title) {
        if (OnTitleChange)
            OnTitleChange(this, title);
    });
    connect(page_.get(), &QWebEnginePage::loadStarted, this, [this] {
        ++loadSerial_;
        rendererGone_ = false;
        view_->show();
        if (crashNotice_)
            crashNotice_->hide();
    });
    connect(page_.get(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    onRendererGone();
            });
    connect(page_.get(), &QWebEnginePage::loadFinished, this,
            [this](bool ok) { onLoadFinished(ok); });
    connect(
        page_.get(), &QWebEnginePage::fullScreenRequested, this,
        [this](QWebEngineFullScreenRequest request) { onFullScreenRequested(std::move(request)); });
}

void TWebBrowser::renewPage() {
    leaveFullScreen();
    auto fresh = std::make_unique<browser::BrowserPage>(page_->profile(), nullptr);
    fresh->setSilent(page_->isSilent());
    fresh->setAudioMuted(page_->isAudioMuted());
    std::unique_ptr<browser::BrowserPage> old = std::exchange(page_, std::move(fresh));
    old->disconnect(this);
    bindPage();
    view_->setPage(page_.get());
    if (callbackDepth_ > 0)
        old.release()->deleteLater();
}

TWebBrowser::~TWebBrowser() {
    // The full-screen view shows the page: it goes before the page does.
    delete fullScreen_;
    // The view does not own the page: let the view go first.
    delete view_;
    view_ = nullptr;
    if (callbackDepth_ > 0)
        page_.release()->deleteLater();
}

void TWebBrowser::Navigate(const QString& url) {
    view_->show();
    const QUrl address = addressFromText(url);
    pending_ = addressText(address);
    // A local movie plays in a page of the local movies' scheme; all of
    // them share one renderer.
    page_->load(player::isLocalMovie(address) ? player::moviePageAddress(address) : address);
}

void TWebBrowser::Refresh() {
    const QUrl url = page_->url();
    if (url.isEmpty())
        return;
    if (!rendererGone_) {
        page_->triggerAction(QWebEnginePage::Reload);
        return;
    }
    // The engine gives a page whose renderer ended none of the scripts
    // (the Flash player's among them) in the renderer that takes over: a
    // fresh page loads the address instead.
    renewPage();
    page_->load(url);
}

QString TWebBrowser::LocationURL() const {
    return addressText(page_->url());
}

std::optional<HtmlDocument> TWebBrowser::Document() const {
    if (!document_)
        return std::nullopt;
    auto* self = const_cast<TWebBrowser*>(this);
    return HtmlDocument(document_, browser::DocumentViewRef(self, self));
}

BrowserApplication::BrowserApplication(TWebBrowser* browser) : browser_(browser) {}

TWebBrowser* BrowserApplication::browser() const {
    return browser_.data();
}

BrowserApplication TWebBrowser::Application() {
    return BrowserApplication(this);
}

void TWebBrowser::setSilent(bool silent) {
    page_->setSilent(silent);
}

bool TWebBrowser::Silent() const {
    return page_->isSilent();
}

void TWebBrowser::setAlignClient(bool on) {
    if (on && !align_) {
        align_ = new browser::ClientAlign(this);
    } else if (!on && align_) {
        delete align_;
        align_ = nullptr;
    }
}

QWidget* TWebBrowser::inputWidget() const {
    return view_->focusProxy();
}

bool TWebBrowser::isInside(const QObject* target) const {
    const auto* widget = qobject_cast<const QWidget*>(target);
    if (!widget || widget == this)
        return false;
    while (widget && widget != this) {
        if (widget->isWindow())
            return false;
        widget = widget->parentWidget();
    }
    return widget == this;
}

bool TWebBrowser::movieHasFocus() const {
    return page_->movieHasFocus();
}

QWebEnginePage* TWebBrowser::page() const {
    return page_.get();
}

void TWebBrowser::paintEvent(QPaintEvent*) {
    if (!view_->isVisibleTo(this))
        QPainter(this).fillRect(rect(), Qt::white);
}

void TWebBrowser::setVisible(bool visible) {
    // A browser without a parent only receives new windows: it never shows.
    if (visible && !parentWidget())
        return;
    QWidget::setVisible(visible);
}

QWebEnginePage* TWebBrowser::newWindowTarget() {
    if (!OnNewWindow2)
        return nullptr;
    CallbackScope scope(this);
    BrowserApplication target;
    bool cancel = false;
    OnNewWindow2(this, target, cancel);
    TWebBrowser* receiver = target.browser();
    if (!scope.alive() || cancel || !receiver || receiver == this)
        return nullptr;
    return receiver->page();
}

bool TWebBrowser::beforeNavigate(const QUrl& url) {
    if (!OnBeforeNavigate2)
        return true;
    CallbackScope scope(this);
    bool cancel = false;
    OnBeforeNavigate2(this, BrowserApplication(this), addressText(url), cancel);
    return scope.alive() && !cancel;
}

void TWebBrowser::onLoadFinished(bool ok) {
    pending_.clear();
    // A failed or stopped load leaves whatever the page shows now (an error
    // page, or the previous document); record that, but only complete a
    // document for a load that succeeded.
    if (!ok && !document_)
        return;
    const quint64 load = loadSerial_;
    QPointer<TWebBrowser> self(this);
    page_->runJavaScript(browser::snapshotScript(markerNames_), QWebEngineScript::ApplicationWorld,
                         [self, load, ok](const QVariant& result) {
                             if (self)
                                 self->applySnapshot(result, load, ok);
                         });
}

bool TWebBrowser::crashNoticeShown() const {
    return crashNotice_ && !crashNotice_->isHidden();
}

void TWebBrowser::onRendererGone() {
    // Nothing of the old document is left; a snapshot on its way is void.
    rendererGone_ = true;
    document_.reset();
    ++loadSerial_;
    if (reloadAfterCrash_) {
        // Not from inside the engine's report of the loss.
        QMetaObject::invokeMethod(this, &TWebBrowser::Refresh, Qt::QueuedConnection);
    } else {
        if (!crashNotice_)
            crashNotice_ = new browser::CrashNotice(this, [this] { Refresh(); });
        crashNotice_->show();
        crashNotice_->raise();
    }
    if (OnRenderProcessGone) {
        CallbackScope scope(this);
        OnRenderProcessGone(this);
    }
}

void TWebBrowser::applySnapshot(const QVariant& result, quint64 load, bool complete) {
    if (load != loadSerial_)
        return; // a newer load has started; its own snapshot will follow
    auto snapshot = browser::parseSnapshot(result);
    if (!snapshot)
        return;
    snapshot->location = addressText(QUrl(snapshot->location));
    const QString location = snapshot->location;
    document_ = std::make_shared<const browser::DocumentSnapshot>(std::move(*snapshot));
    if (complete && OnDocumentComplete)
        OnDocumentComplete(this, Application(), location);
}

bool TWebBrowser::showsDocument(const browser::DocumentSnapshot& document) const {
    return document_.get() == &document;
}

void TWebBrowser::focusElement(const browser::DocumentSnapshot& document, const QString& name) {
    if (!showsDocument(document))
        return;
    view_->setFocus(Qt::OtherFocusReason);
    page_->runJavaScript(browser::focusScript(name), QWebEngineScript::ApplicationWorld);
}

} // namespace zorvia
