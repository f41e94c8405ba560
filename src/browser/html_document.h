#pragma once

#include "browser/document_snapshot.h"
#include "browser/document_view.h"

#include <QString>

#include <memory>
#include <optional>

namespace zorvia {

class TWebBrowser;

// An element of a document as it was when its page finished loading.
class HtmlElement {
public:
    QString innerHTML() const { return element().innerHTML; }
    QString innerText() const { return element().innerText; }
    QString tagName() const { return element().tagName; }

    // Gives the element the input focus: the browser's view takes the
    // keyboard focus and the page focuses its first element with this id or
    // name. Does nothing when the browser is gone or has loaded another
    // document since this one.
    void focus() const;

private:
    friend class HtmlDocument;
    HtmlElement(std::shared_ptr<const browser::DocumentSnapshot> document, std::size_t index,
                browser::DocumentViewRef view);
    const browser::ElementSnapshot& element() const { return document_->elements[index_]; }

    std::shared_ptr<const browser::DocumentSnapshot> document_;
    std::size_t index_ = 0;
    browser::DocumentViewRef view_;
};

// The document a browser showed when its last load finished: a value that
// stays readable after the browser moves on or is destroyed.
//
// Only the marker elements were recorded (TWebBrowser::setMarkerNames,
// browser::defaultMarkerNames); a name outside that list finds no element.
// Changes that page scripts make after the load are not seen until the next
// load finishes.
class HtmlDocument {
public:
    QString title() const { return snapshot_->title; }
    QString location() const { return snapshot_->location; }
    std::optional<HtmlElement> element(const QString& name) const;

    // Whether this is the document its browser shows now.
    bool isCurrent() const;

private:
    friend class TWebBrowser;
    HtmlDocument(std::shared_ptr<const browser::DocumentSnapshot> snapshot,
                 browser::DocumentViewRef view);

    std::shared_ptr<const browser::DocumentSnapshot> snapshot_;
    browser::DocumentViewRef view_;
};

// The first element of document whose id or name equals name; none when
// there is no document or no such (recorded) element.
std::optional<HtmlElement> GetPageElement(const std::optional<HtmlDocument>& document,
                                          const QString& name);

} // namespace zorvia
