#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <stdexcept>
#include <string>

namespace zorvia::test {

inline const QObject* objectOf(const QObject& object) {
    return &object;
}
inline const QObject* objectOf(const QObject* object) {
    return object;
}
template <typename T>
const QObject* objectOf(const std::unique_ptr<T>& object) {
    return object.get();
}

// The descendant of `parent` of type T named `name`, or none.
template <typename T, typename Parent>
T* findNamed(const Parent& parent, const char* name) {
    return objectOf(parent)->template findChild<T*>(QString::fromLatin1(name));
}

// The descendant of `parent` of type T named `name`; a test that asks for
// one that is not there fails with the name.
template <typename T, typename Parent>
T* child(const Parent& parent, const char* name) {
    if (T* found = findNamed<T>(parent, name))
        return found;
    throw std::runtime_error(std::string("no child named ") + name);
}

} // namespace zorvia::test
