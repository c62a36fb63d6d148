#include "keyboard_order.h"

#include <algorithm>

#include "form.h"
#include "widgets.h"

namespace lt {
namespace {

// Twice the middle, so that odd heights need no fractions.
int middle2(const Control& c) { return 2 * c.top() + c.height(); }

bool middleWithin(const Control& a, const Control& b) {
    return middle2(a) >= 2 * b.top() && middle2(a) <= 2 * (b.top() + b.height());
}

bool sameLine(const Control& a, const Control& b) { return middleWithin(a, b) && middleWithin(b, a); }

bool takesFocus(const Control& c) {
    switch (c.kind()) {
        case ControlKind::Label: return static_cast<const Label&>(c).isLink();
        case ControlKind::Edit:
        case ControlKind::Button:
        case ControlKind::ComboBox:
        case ControlKind::CheckListBox:
        case ControlKind::Slider:
        case ControlKind::PageControl: return true;
        default: return false;
    }
}

void collect(Control& container, std::vector<Control*>& out) {
    for (Control* c : readingOrder(container.children())) {
        if (!c->visible() || !c->enabled()) continue;
        if (takesFocus(*c)) out.push_back(c);
        if (c->kind() == ControlKind::GroupBox) collect(*c, out);
        if (c->kind() == ControlKind::PageControl) {
            const auto& pages = static_cast<PageControl&>(*c);
            const std::vector<TabSheet*> all = pages.pages();
            const int front = pages.activePage();
            if (front >= 0 && front < static_cast<int>(all.size()) && all[front]->visible() && all[front]->enabled())
                collect(*all[front], out);
        }
    }
}

// The control and every container it lies in up to root, which itself need not be shown.
bool respondsWithin(const Control& c, const Control& root) {
    for (const Control* at = &c; at && at != &root; at = at->parent())
        if (!at->visible() || !at->enabled()) return false;
    return true;
}

}  // namespace

std::vector<Control*> readingOrder(const std::vector<Control*>& siblings) {
    std::vector<Control*> byTop = siblings;
    std::stable_sort(byTop.begin(), byTop.end(),
                     [](const Control* a, const Control* b) { return a->top() < b->top(); });
    std::vector<Control*> ordered;
    ordered.reserve(byTop.size());
    for (size_t first = 0; first < byTop.size();) {
        size_t end = first + 1;
        while (end < byTop.size() && sameLine(*byTop[first], *byTop[end])) ++end;
        std::stable_sort(byTop.begin() + first, byTop.begin() + end,
                         [](const Control* a, const Control* b) { return a->left() < b->left(); });
        ordered.insert(ordered.end(), byTop.begin() + first, byTop.begin() + end);
        first = end;
    }
    return ordered;
}

std::vector<Control*> keyboardOrder(Control& root) {
    std::vector<Control*> order;
    const auto* form = root.kind() == ControlKind::Form ? static_cast<const Form*>(&root) : nullptr;
    if (!form || form->statedKeyboardOrder.empty()) collect(root, order);
    else
        for (Control* c : form->statedKeyboardOrder)
            if (respondsWithin(*c, root)) order.push_back(c);
    return order;
}

}  // namespace lt
