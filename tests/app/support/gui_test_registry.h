#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace ravelfin::testing {

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;

/// Registers the test class of `sourceFile` under its file name without the extension.
bool RegisterGuiTest(const char* sourceFile, GuiTestFactory factory);

}  // namespace ravelfin::testing

/// Makes `Class` runnable as `test_app <file name stem>`.
#define RAVELFIN_GUI_TEST(Class)                                                        \
    static const bool ravelfinRegistered##Class = ::ravelfin::testing::RegisterGuiTest( \
        __FILE__, [] { return std::unique_ptr<QObject>(new Class); })
