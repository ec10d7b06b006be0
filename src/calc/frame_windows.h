#pragma once
// LibreOffice's frames as the X windows the program knows them by (Excel's Hwnd): the window of
// a frame, the frame of a window, and what the program does to Excel's window before a paste
// (bring it forward, end a cell edit with Escape) done to a frame.
#include <com/sun/star/frame/XFrame.hpp>
#include <optional>
#include <string>

#include "calc/uno_support.h"
#include "platform/types.h"

namespace harumado::calc {

// The X window id of the frame's top-level window; 0 without one (headless).
platform::WindowHandle WindowOf(const Reference<css::frame::XFrame>& frame);
// The frame whose top-level window that is, or null.
Reference<css::frame::XFrame> FrameOfWindow(Office& office, platform::WindowHandle window);

// The frame's title ("book.xlsx - LibreOffice Calc").
std::wstring TitleOf(const Reference<css::frame::XFrame>& frame);
// Raises the frame's window when it is shown.
void BringToFront(const Reference<css::frame::XFrame>& frame);
// Cancels a cell edit in progress in the frame, which would otherwise overwrite the cell it
// edits when it ends, after a paste (.uno:Cancel, what Escape does).
void EndCellEdit(Office& office, const Reference<css::frame::XFrame>& frame);

}  // namespace harumado::calc
