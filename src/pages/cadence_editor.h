// The busy-tone cadence editor: the four busy-tone times as two bars over a time axis,
// one pixel per register unit, whose edges the user drags with the mouse. The values
// come from the busy-tone group's fields when the window opens and go back into them
// with "Внести значения".
#pragma once
#include <array>
#include <utility>

#include "pages/busy_tone_group.h"
#include "toolkit/form.h"
#include "toolkit/widgets.h"

namespace lt {

class TForm4 : public Form {
public:
    explicit TForm4(BusyToneGroup& busyTone);
    ~TForm4() override;

    Shape Shape1;                // the background of the drawing
    Line LMDTechnicalLine1;      // the time axis
    // The tone bar spans S203..S204 and the pause bar S205..S206. Nothing bounds them:
    // a maximum below its minimum leaves a width of zero or less, kept as computed;
    // such a bar draws nothing and cannot be hit.
    Shape LMDShapeControl1, LMDShapeControl2;
    Label RxLabel1, RxLabel2, RxLabel3, RxLabel4;  // captions
    Label RxLabel5, RxLabel6, RxLabel7, RxLabel8;  // ten times each edge's position
    Label RxLabel9, RxLabel10;                     // titles over the drawing
    Button SpeedButton1;                           // "Внести значения"

    // Which edge is picked up. They outlive hiding the window: an edge picked up when it
    // was closed is still picked up when it opens again.
    bool GrabToneMin = false, GrabToneMax = false, GrabPauseMin = false, GrabPauseMax = false;

    // Opening from the busy-tone group: bars and labels from Edit2..Edit5, then shown.
    void Open();

    void LMDShapeControl1MouseDown(int x, int y);
    void LMDShapeControl2MouseDown(int x, int y);
    void Shape1MouseDown(int x, int y);
    void LMDShapeControl1MouseMove(int x, int y);
    void LMDShapeControl2MouseMove(int x, int y);
    void Shape1MouseMove(int x, int y);
    void SpeedButton1Click();

private:
    // Each value label with the field it is opened from and carried back to.
    std::array<std::pair<Label*, Edit*>, 4> labelFields();
    BusyToneGroup& busyTone_;
};

}  // namespace lt
