#include "data/params.h"
#include "text/ascii_case.h"

#include <cctype>

namespace zorvia {

TParams::TParams(const std::vector<AnsiString>& names, const TParams& previous) {
    for (const AnsiString& name : names) {
        int index = -1;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (text::equalsNoCase(items_[i].Name(), name))
                index = static_cast<int>(i);
        }
        if (index < 0) {
            index = static_cast<int>(items_.size());
            const TParam* old = previous.FindParam(name);
            items_.push_back(old != nullptr ? *old : TParam(name));
        }
        positions_.push_back(index);
    }
}

TParam* TParams::FindParam(std::string_view name) {
    for (TParam& param : items_) {
        if (text::equalsNoCase(param.Name(), name))
            return &param;
    }
    return nullptr;
}

const TParam* TParams::FindParam(std::string_view name) const {
    return const_cast<TParams*>(this)->FindParam(name);
}

const TParam* TParams::AtPosition(int position) const {
    if (position < 0)
        return nullptr;
    if (positions_.empty())
        return position < Count() ? &items_[position] : nullptr;
    if (position >= static_cast<int>(positions_.size()))
        return nullptr;
    return &items_[positions_[position]];
}

} // namespace zorvia
