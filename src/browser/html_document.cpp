#include "browser/html_document.h"

#include "browser/web_browser.h"

namespace zorvia {

HtmlElement::HtmlElement(std::shared_ptr<const browser::DocumentSnapshot> document,
                         std::size_t index, QPointer<TWebBrowser> browser)
    : document_(std::move(document)), index_(index), browser_(std::move(browser)) {}

void HtmlElement::focus() const {
    if (browser_)
        browser_->focusElement(*document_, element().name);
}

HtmlDocument::HtmlDocument(std::shared_ptr<const browser::DocumentSnapshot> snapshot,
                           QPointer<TWebBrowser> browser)
    : snapshot_(std::move(snapshot)), browser_(std::move(browser)) {}

std::optional<HtmlElement> HtmlDocument::element(const QString& name) const {
    const auto& elements = snapshot_->elements;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].name == name)
            return HtmlElement(snapshot_, i, browser_);
    }
    return std::nullopt;
}

bool HtmlDocument::isCurrent() const {
    return browser_ && browser_->showsDocument(*snapshot_);
}

std::optional<HtmlElement> GetPageElement(const std::optional<HtmlDocument>& document,
                                          const QString& name) {
    if (!document)
        return std::nullopt;
    return document->element(name);
}

} // namespace zorvia
