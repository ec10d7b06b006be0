#include "calc/frame_windows.h"

#include <com/sun/star/awt/SystemDependentXWindow.hpp>
#include <com/sun/star/awt/XSystemDependentWindowPeer.hpp>
#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchHelper.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/SystemDependent.hpp>

namespace harumado::calc {

platform::WindowHandle WindowOf(const Reference<css::frame::XFrame>& frame) {
  return Uno([&]() -> platform::WindowHandle {
    if (!frame.is()) return 0;
    Reference<css::awt::XSystemDependentWindowPeer> peer(frame->getContainerWindow(),
                                                         css::uno::UNO_QUERY);
    if (!peer.is()) return 0;
    // The process id only tells whether the caller shares the window's process: it does not.
    css::uno::Sequence<sal_Int8> process(16);
    const css::uno::Any handle =
        peer->getWindowHandle(process, css::lang::SystemDependent::SYSTEM_XWINDOW);
    css::awt::SystemDependentXWindow window;
    if (!(handle >>= window)) return 0;
    return static_cast<platform::WindowHandle>(window.WindowHandle);
  });
}

Reference<css::frame::XFrame> FrameOfWindow(Office& office, platform::WindowHandle window) {
  if (window == 0) return {};
  return Uno([&]() -> Reference<css::frame::XFrame> {
    const auto frames = office.desktop->getFrames();
    for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
      Reference<css::frame::XFrame> frame(frames->getByIndex(i), css::uno::UNO_QUERY);
      if (WindowOf(frame) == window) return frame;
    }
    return {};
  });
}

std::wstring TitleOf(const Reference<css::frame::XFrame>& frame) {
  return Uno([&] {
    Reference<css::frame::XTitle> title(frame, css::uno::UNO_QUERY_THROW);
    return FromOU(title->getTitle());
  });
}

void BringToFront(const Reference<css::frame::XFrame>& frame) {
  Uno([&] {
    Reference<css::awt::XTopWindow> window(frame->getContainerWindow(), css::uno::UNO_QUERY);
    Reference<css::awt::XWindow2> shown(window, css::uno::UNO_QUERY);
    if (window.is() && shown.is() && shown->isVisible()) window->toFront();
  });
}

void EndCellEdit(Office& office, const Reference<css::frame::XFrame>& frame) {
  Uno([&] {
    Reference<css::frame::XDispatchProvider> provider(frame, css::uno::UNO_QUERY_THROW);
    css::frame::DispatchHelper::create(office.context)
        ->executeDispatch(provider, ".uno:Cancel", "", 0, {});
  });
}

}  // namespace harumado::calc
