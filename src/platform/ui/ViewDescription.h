#pragma once
// What a view says about itself when asked to describe its state (View::describe): named
// texts, numbers, flags and lists, and named groups of them. The view tree only fills a
// description; whoever asks (the automation driver) decides how it is written out. Setting
// a name again replaces its value where it stood.

#include <functional>
#include <string>
#include <vector>

namespace ui {

class ViewDescription {
public:
    virtual ~ViewDescription() = default;

    virtual void setText(const std::string& name, const std::string& value) = 0;
    virtual void setInteger(const std::string& name, long long value) = 0;
    virtual void setNumber(const std::string& name, double value) = 0;
    virtual void setFlag(const std::string& name, bool value) = 0;
    virtual void setTexts(const std::string& name, const std::vector<std::string>& values) = 0;
    virtual void setIntegers(const std::string& name, const std::vector<int>& values) = 0;
    virtual void setNumbers(const std::string& name, const std::vector<double>& values) = 0;
    // A group of values under one name, filled by `fill`.
    virtual void setGroup(const std::string& name, const std::function<void(ViewDescription&)>& fill) = 0;
    // A list of `count` groups under one name (present, and empty, when count is 0).
    virtual void setGroups(const std::string& name, int count,
                           const std::function<void(int index, ViewDescription&)>& fill) = 0;
};

} // namespace ui
