#pragma once
// The runner's window geometry, apart from the calls that apply it: sizes
// are designed at 96 DPI and scaled to the DPI of the monitor the window is
// on, and the window opens centred in that monitor's work area.

namespace tollik::os {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// `value` at 96 DPI, at `dpi` (rounded to nearest, as MulDiv does).
constexpr int ScaleForDpi(int value, unsigned dpi) {
    const long long scaled = static_cast<long long>(value) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : (scaled - 48) / 96);
}

// A window of `width` by `height` centred in `work`, shrunk to fit it so
// that neither its title bar nor its OK button lies off the screen or under
// the taskbar.
constexpr Box CentreIn(int width, int height, Box work) {
    const int fitWidth = width < work.right - work.left ? width : work.right - work.left;
    const int fitHeight = height < work.bottom - work.top ? height : work.bottom - work.top;
    const int left = work.left + (work.right - work.left - fitWidth) / 2;
    const int top = work.top + (work.bottom - work.top - fitHeight) / 2;
    return {left, top, left + fitWidth, top + fitHeight};
}

}  // namespace tollik::os
