#pragma once
// The one QApplication of the display's tests, on Qt's offscreen platform, made on first
// use; and a guard that installs the Qt text measurer for one test and puts the simple
// one back.

#include <memory>

class QApplication;

namespace shelltest {

QApplication& qtApplication();

class QtMeasurerInstalled {
public:
    QtMeasurerInstalled();
    ~QtMeasurerInstalled();
    QtMeasurerInstalled(const QtMeasurerInstalled&) = delete;
    QtMeasurerInstalled& operator=(const QtMeasurerInstalled&) = delete;
};

} // namespace shelltest
