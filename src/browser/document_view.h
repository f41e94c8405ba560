#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace zorvia::browser {

struct DocumentSnapshot;

// What a document read from a browser asks of that browser later: whether
// the browser still shows it, and to focus one of its elements.
class DocumentView {
public:
    virtual bool showsDocument(const DocumentSnapshot& document) const = 0;
    virtual void focusElement(const DocumentSnapshot& document, const QString& name) = 0;

protected:
    DocumentView() = default;
    ~DocumentView() = default;
    DocumentView(const DocumentView&) = default;
    DocumentView& operator=(const DocumentView&) = default;
};

// A document view that is gone once the object that provides it is
// destroyed.
class DocumentViewRef {
public:
    DocumentViewRef() = default;
    DocumentViewRef(QObject* owner, DocumentView* view) : owner_(owner), view_(view) {}
    DocumentView* get() const { return owner_ ? view_ : nullptr; }

private:
    QPointer<QObject> owner_;
    DocumentView* view_ = nullptr;
};

} // namespace zorvia::browser
