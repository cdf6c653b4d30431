#include "ResizeModule.h"

#include "Form.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace ResizeModule {

bool ResizeFonts = false;

namespace {

// A recorded value may be empty (never stored); an empty value counts as 0 in arithmetic.
using Entry = std::optional<float>;
// Not allocated until the first recording.
using Record = std::optional<std::vector<Entry>>;

Record InitLeft;
Record InitTop;
Record InitWidth;
Record InitHeight;
std::optional<int> LastControl;
std::optional<float> InitFormWidth;
std::optional<float> InitFormHeight;

// recorded(i) * now / then, multiplied first, in single precision. False when the record has no
// position i, or when the division or a result is not a finite number.
bool scaled(const Record& record, int i, float now, const std::optional<float>& then,
            float& value) {
    if (!record || i < 0 || i >= static_cast<int>(record->size()))
        return false;
    const float product = (*record)[static_cast<size_t>(i)].value_or(0.0f) * now;
    if (!std::isfinite(product))
        return false;
    const float divisor = then.value_or(0.0f);
    if (divisor == 0.0f)
        return false;
    const float quotient = product / divisor;
    if (!std::isfinite(quotient))
        return false;
    value = quotient;
    return true;
}

bool store(Record& record, int i, const Entry& value) {
    if (!record || i < 0 || i >= static_cast<int>(record->size()))
        return false;
    (*record)[static_cast<size_t>(i)] = value;
    return true;
}

} // namespace

void ResizeInit(Form& form) {
    const ControlCollection& c = form.Controls();

    // 1.
    LastControl = c.Count() - 1;

    // 2. A collection without entries cannot size the arrays: the earlier record stays.
    if (*LastControl >= 0) {
        const auto size = static_cast<size_t>(*LastControl + 1);
        InitLeft.emplace(size);
        InitTop.emplace(size);
        InitWidth.emplace(size);
        InitHeight.emplace(size);
    }

    // 3. A value whose read fails keeps what the previous control gave it.
    Entry left, top, width, height;
    for (int i = 0; i <= c.Count() - 1; ++i) {
        float v = 0;
        if (c.get(i, "Left", v))
            left = v;
        if (c.get(i, "Top", v))
            top = v;
        if (c.get(i, "Width", v))
            width = v;
        if (c.get(i, "Height", v))
            height = v;
        store(InitLeft, i, left);
        store(InitTop, i, top);
        store(InitWidth, i, width);
        store(InitHeight, i, height);
    }

    // 4., 5.
    InitFormWidth = form.Width();
    InitFormHeight = form.Height();
}

void ResizeForm(Form& form) {
    const ControlCollection& c = form.Controls();
    // Without a record the bound is empty, which counts as 0; every lookup then fails.
    const int last = LastControl.value_or(0);
    for (int i = 0; i <= last; ++i) {
        float v = 0;
        if (scaled(InitLeft, i, form.Width(), InitFormWidth, v))
            c.set(i, "Left", v);
        if (scaled(InitWidth, i, form.Width(), InitFormWidth, v))
            c.set(i, "Width", v);
        if (scaled(InitTop, i, form.Height(), InitFormHeight, v))
            c.set(i, "Top", v);
        if (scaled(InitHeight, i, form.Height(), InitFormHeight, v))
            c.set(i, "Height", v);
        if (ResizeFonts && c.get(i, "Height", v))
            c.set(i, "FontSize", std::floor(v / 50.0f));
    }
}

void ResizeForget() {
    InitLeft.reset();
    InitTop.reset();
    InitWidth.reset();
    InitHeight.reset();
    LastControl.reset();
    InitFormWidth.reset();
    InitFormHeight.reset();
}

} // namespace ResizeModule
