#include "browser/html_document.h"

namespace zorvia {

HtmlElement::HtmlElement(std::shared_ptr<const browser::DocumentSnapshot> document,
                         std::size_t index, browser::DocumentViewRef view)
    : document_(std::move(document)), index_(index), view_(std::move(view)) {}

void HtmlElement::focus() const {
    if (auto* view = view_.get())
        view->focusElement(*document_, element().name);
}

HtmlDocument::HtmlDocument(std::shared_ptr<const browser::DocumentSnapshot> snapshot,
                           browser::DocumentViewRef view)
    : snapshot_(std::move(snapshot)), view_(std::move(view)) {}

std::optional<HtmlElement> HtmlDocument::element(const QString& name) const {
    const auto& elements = snapshot_->elements;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].name == name)
            return HtmlElement(snapshot_, i, view_);
    }
    return std::nullopt;
}

bool HtmlDocument::isCurrent() const {
    const auto* view = view_.get();
    return view && view->showsDocument(*snapshot_);
}

std::optional<HtmlElement> GetPageElement(const std::optional<HtmlDocument>& document,
                                          const QString& name) {
    if (!document)
        return std::nullopt;
    return document->element(name);
}

} // namespace zorvia
