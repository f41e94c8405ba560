#pragma once

#include "skin/skin_control.h"

class QPainter;

namespace zorvia {

// A skinner that paints its control, of class W, wholly with `Paint` in place
// of the control's own painting. `Kind` as for every skinner (1: the control
// wears the skin's ButtonFace colour while skinned). Owned by the control.
template <class W, int Kind, void (*Paint)(QPainter&, W&, const TSkinData&)>
class TSkinPainted : public TSkinControl {
public:
    TSkinPainted(W* control, TSkinData& data, TWinSkinForm* form = nullptr)
        : TSkinControl(control, data, form, Kind) {}

protected:
    bool paintsControl() const override { return true; }
    void PaintControl(QPainter& painter) override {
        Paint(painter, *static_cast<W*>(control()), data());
    }
};

} // namespace zorvia
