#include "platform/automation/Driver.h"

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/ViewDescription.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <thread>
#include <vector>

namespace tessaro {

namespace {

using json = nlohmann::ordered_json;

// Longest wait one "advance" may ask for; a typo of a few zeros should not hang a script.
constexpr double longestAdvance = 3600;

json failure(const std::string& reason)
{
    return { { "ok", false }, { "error", reason } };
}

json success()
{
    return { { "ok", true } };
}

double rounded(double value)
{
    return std::round(value * 100) / 100;
}

json rectJson(const ui::Rect& rect)
{
    return json::array({ rounded(rect.x()), rounded(rect.y()), rounded(rect.width()), rounded(rect.height()) });
}

json pathJson(const ui::IndexPath& indexPath)
{
    return json::array({ indexPath.section, indexPath.row });
}

// A view's description written as the members of its node in the dump. Numbers with a
// fraction are given to the hundredth, as frames are.
class JsonDescription final : public ui::ViewDescription {
public:
    explicit JsonDescription(json& node)
        : m_node(node)
    {
    }

    void setText(const std::string& name, const std::string& value) override { m_node[name] = value; }
    void setInteger(const std::string& name, long long value) override { m_node[name] = value; }
    void setNumber(const std::string& name, double value) override { m_node[name] = rounded(value); }
    void setFlag(const std::string& name, bool value) override { m_node[name] = value; }
    void setTexts(const std::string& name, const std::vector<std::string>& values) override { m_node[name] = values; }
    void setIntegers(const std::string& name, const std::vector<int>& values) override { m_node[name] = values; }
    void setNumbers(const std::string& name, const std::vector<double>& values) override
    {
        json numbers = json::array();
        for (double value : values)
            numbers.push_back(rounded(value));
        m_node[name] = std::move(numbers);
    }
    void setGroup(const std::string& name, const std::function<void(ui::ViewDescription&)>& fill) override
    {
        // Built apart and then put in place: the node's members may move while it grows.
        json group = json::object();
        JsonDescription inner(group);
        fill(inner);
        m_node[name] = std::move(group);
    }
    void setGroups(const std::string& name, int count, const std::function<void(int, ui::ViewDescription&)>& fill) override
    {
        json groups = json::array();
        for (int index = 0; index < count; ++index) {
            json group = json::object();
            JsonDescription inner(group);
            fill(index, inner);
            groups.push_back(std::move(group));
        }
        m_node[name] = std::move(groups);
    }

private:
    json& m_node;
};

std::optional<double> numberField(const json& command, const char* name)
{
    auto found = command.find(name);
    if (found == command.end() || !found->is_number())
        return std::nullopt;
    double value = found->get<double>();
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

std::optional<int> intField(const json& command, const char* name)
{
    auto found = command.find(name);
    if (found == command.end() || !found->is_number_integer())
        return std::nullopt;
    auto value = found->get<long long>();
    if (value < -1000000000LL || value > 1000000000LL)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::string> stringField(const json& command, const char* name)
{
    auto found = command.find(name);
    if (found == command.end() || !found->is_string())
        return std::nullopt;
    return found->get<std::string>();
}

// A row given as [section, row], or by "section" and "row" fields of the command itself.
std::optional<ui::IndexPath> pathField(const json& command, const char* name)
{
    if (name) {
        auto found = command.find(name);
        if (found == command.end() || !found->is_array() || found->size() != 2 || !(*found)[0].is_number_integer()
            || !(*found)[1].is_number_integer())
            return std::nullopt;
        return ui::IndexPath { (*found)[0].get<int>(), (*found)[1].get<int>() };
    }
    auto section = intField(command, "section");
    auto row = intField(command, "row");
    if (!section || !row)
        return std::nullopt;
    return ui::IndexPath { *section, *row };
}

ui::Rect windowRect(const ui::View& view)
{
    return view.convertRectToView(view.bounds(), nullptr);
}

bool isShown(const ui::View& view)
{
    return !view.isHidden() && view.alpha() >= 0.01;
}

// Every view on screen in painting order (so later ones lie above earlier ones), with the
// part of it that can be seen.
void collectVisible(ui::View& view, const ui::Rect& clip, std::vector<std::pair<ui::View*, ui::Rect>>& out)
{
    if (!isShown(view))
        return;
    ui::Rect visible = windowRect(view).intersection(clip);
    if (!visible.isEmpty())
        out.emplace_back(&view, visible);
    if (view.clipsToBounds() && visible.isEmpty())
        return;
    ui::Rect childClip = view.clipsToBounds() ? visible : clip;
    auto children = view.subviews();
    for (auto& child : children)
        collectVisible(*child, childClip, out);
}

// A tap at the point lands on the target: on it, inside it, or on what contains it (a
// label's button, a text's row). Anything else lies over the target.
bool lands(const ui::View* hit, const ui::View& target)
{
    return hit && (hit == &target || hit->isDescendantOf(target) || target.isDescendantOf(*hit));
}

// The texts a view shows, its own and those inside it, in painting order.
void collectTexts(ui::View& view, json& texts)
{
    if (!isShown(view))
        return;
    if (dynamic_cast<ui::ImageView*>(&view) == nullptr) {
        std::string text = view.displayText();
        if (!text.empty())
            texts.push_back(text);
    }
    for (auto& child : view.subviews())
        collectTexts(*child, texts);
}

std::string rowName(const ui::IndexPath& indexPath)
{
    return "row " + std::to_string(indexPath.row) + " of section " + std::to_string(indexPath.section);
}

std::string describeRange(const ui::TableView& table, const ui::IndexPath& indexPath)
{
    if (indexPath.section < 0 || indexPath.section >= table.numberOfSections())
        return rowName(indexPath) + " is outside the table: it has " + std::to_string(table.numberOfSections()) + " sections";
    return rowName(indexPath) + " is outside the table: section " + std::to_string(indexPath.section) + " has "
        + std::to_string(table.numberOfRowsInSection(indexPath.section)) + " rows";
}

// Why a finger cannot reach the row the command names in the table in sight, if it cannot.
std::optional<json> refuseRow(const std::string& verb, const std::optional<ui::IndexPath>& indexPath, ui::TableView* table)
{
    if (!indexPath)
        return failure(verb + " needs whole numbers \"section\" and \"row\"");
    if (!table)
        return failure("no table is in sight");
    if (!table->isValidIndexPath(*indexPath))
        return failure(describeRange(*table, *indexPath));
    if (table->rectForRowAtIndexPath(*indexPath).height() <= 0)
        return failure(rowName(*indexPath) + " is hidden (0 points high) and takes no touches");
    return std::nullopt;
}

// A point of the cell, where it shows inside its table and the window, at which a finger
// reaches the row itself (not a button inside it), scanning along its middle from the left,
// or from the right.
std::optional<ui::Point> rowPoint(ui::Window& window, ui::TableView& table, ui::TableViewCell& cell, bool fromRight)
{
    ui::Rect visible = windowRect(cell).intersection(windowRect(table)).intersection(window.bounds());
    if (visible.isEmpty())
        return std::nullopt;
    double y = visible.midY();
    std::vector<double> xs;
    for (double x = visible.minX() + 10; x < visible.maxX() - 1; x += 10)
        xs.push_back(x);
    if (fromRight)
        std::reverse(xs.begin(), xs.end());
    for (double x : xs) {
        ui::View* hit = window.hitTest({ x, y });
        if (!hit || !(hit == &cell || hit->isDescendantOf(cell)))
            continue;
        bool onControl = false;
        for (ui::View* v = hit; v && v != &cell; v = v->superview())
            onControl = onControl || dynamic_cast<ui::Control*>(v) != nullptr;
        if (!onControl)
            return ui::Point { x, y };
    }
    return std::nullopt;
}

} // namespace

Driver::Driver() = default;

Driver::Driver(std::shared_ptr<ui::Window> window)
    : m_ownedWindow(std::move(window))
    , m_window(m_ownedWindow.get())
{
}

Driver::Driver(ui::Window& window)
    : m_window(&window)
{
}

Driver::~Driver() = default;

ui::Window* Driver::window() const
{
    return m_window ? m_window : ui::Application::shared().keyWindow();
}

void Driver::settle()
{
    auto& loop = foundation::RunLoop::main();
    if (auto* clock = loop.manualClock()) {
        clock->advance(0);
    } else {
        // Everything due now, a bounded number of turns so that work that keeps posting
        // itself cannot hold the driver.
        for (int turn = 0; turn < 16 && loop.secondsUntilNextEntry().value_or(1) <= 0; ++turn)
            loop.runDueEntries();
    }
    if (auto* w = window())
        w->layoutIfNeeded();
}

std::string Driver::run(const std::string& line)
{
    json command = json::parse(line, nullptr, false);
    json answer = command.is_discarded() ? failure("bad JSON: the line is not one JSON object") : execute(command);
    // Texts on screen may hold bytes that are not UTF-8; they are answered replaced rather
    // than failing the whole answer.
    return answer.dump(-1, ' ', false, json::error_handler_t::replace);
}

json Driver::execute(const json& command)
{
    if (!command.is_object())
        return failure("a command is a JSON object such as {\"cmd\":\"dump\"}");
    auto name = stringField(command, "cmd");
    if (!name)
        return failure("the command has no \"cmd\" text");
    using Handler = json (Driver::*)(const json&);
    static const std::pair<const char*, Handler> handlers[] = {
        { "dump", &Driver::dump },
        { "tap", &Driver::tap },
        { "tapRow", &Driver::tapRow },
        { "type", &Driver::typeText },
        { "button", &Driver::button },
        { "swipeDelete", &Driver::swipeDelete },
        { "moveRow", &Driver::moveRow },
        { "index", &Driver::sectionIndex },
        { "advance", &Driver::advance },
        { "foreground", &Driver::foreground },
        { "openedURLs", &Driver::openedURLs },
        { "pasteboard", &Driver::pasteboard },
        { "log", &Driver::log },
        { "quit", &Driver::quit },
    };
    for (const auto& [known, handler] : handlers) {
        if (*name == known) {
            if (*name != "quit" && *name != "log" && *name != "openedURLs" && *name != "pasteboard" && *name != "advance"
                && *name != "foreground" && !window())
                return failure("there is no window to work on");
            return (this->*handler)(command);
        }
    }
    std::string list;
    for (const auto& [known, handler] : handlers)
        list += list.empty() ? known : std::string(", ") + known;
    return failure("unknown command \"" + *name + "\"; the commands are " + list);
}

// ---- Looking ---------------------------------------------------------------------------

json Driver::describe(ui::View& view, const ui::Rect& clip) const
{
    if (!isShown(view))
        return nullptr;
    ui::Rect rect = windowRect(view);
    ui::Rect visible = rect.intersection(clip);
    bool seen = !visible.isEmpty();
    json children = json::array();
    if (seen || !view.clipsToBounds()) {
        ui::Rect childClip = view.clipsToBounds() ? visible : clip;
        auto subviews = view.subviews();
        for (auto& child : subviews) {
            json node = describe(*child, childClip);
            if (!node.is_null())
                children.push_back(std::move(node));
        }
    }
    if (!seen && children.empty())
        return nullptr;

    json node = { { "type", view.typeName() }, { "frame", rectJson(rect) } };
    JsonDescription description(node);
    view.describe(description);
    if (!children.empty())
        node["children"] = std::move(children);
    return node;
}

json Driver::dump(const json&)
{
    ui::Window& w = *window();
    w.layoutIfNeeded();
    json answer = success();
    answer["tree"] = describe(w, w.bounds());
    auto* responder = w.firstResponder();
    answer["keyboard"] = responder && responder->textInput();
    if (auto* focused = dynamic_cast<ui::View*>(responder)) {
        json first = { { "type", focused->typeName() } };
        if (!focused->accessibilityIdentifier().empty())
            first["id"] = focused->accessibilityIdentifier();
        first["frame"] = rectJson(windowRect(*focused));
        answer["firstResponder"] = first;
    }
    return answer;
}

ui::TableView* Driver::topmostTable() const
{
    ui::Window& w = *window();
    w.layoutIfNeeded();
    std::vector<std::pair<ui::View*, ui::Rect>> visible;
    collectVisible(w, w.bounds(), visible);
    for (auto it = visible.rbegin(); it != visible.rend(); ++it) {
        if (auto* table = dynamic_cast<ui::TableView*>(it->first))
            return table;
    }
    return nullptr;
}

// ---- Touching --------------------------------------------------------------------------

bool Driver::tapView(ui::View& view, json& answer, std::string& error)
{
    ui::Window& w = *window();
    ui::Rect visible = windowRect(view).intersection(w.bounds());
    for (auto* v = view.superview(); v; v = v->superview()) {
        if (v->clipsToBounds())
            visible = visible.intersection(windowRect(*v));
    }
    if (visible.isEmpty()) {
        error = "it is out of sight";
        return false;
    }
    ui::Point point = visible.center();
    ui::View* hit = w.hitTest(point);
    if (!lands(hit, view)) {
        error = hit ? "it lies under " + hit->typeName() : "it takes no touches";
        return false;
    }
    // What took the touch: the button around a label, the row around a text.
    json tapped = { { "type", hit->typeName() } };
    if (std::string text = view.displayText(); !text.empty())
        tapped["text"] = text;
    tapped["frame"] = rectJson(windowRect(*hit));
    w.tap(point);
    settle();
    answer["tapped"] = std::move(tapped);
    return true;
}

json Driver::tap(const json& command)
{
    ui::Window& w = *window();
    w.layoutIfNeeded();
    auto text = stringField(command, "text");
    auto identifier = stringField(command, "id");
    auto x = numberField(command, "x");
    auto y = numberField(command, "y");
    if (x && y) {
        ui::Point point { *x, *y };
        if (!w.bounds().contains(point))
            return failure("the point lies outside the window");
        ui::View* hit = w.hitTest(point);
        if (!hit)
            return failure("nothing takes touches at that point");
        std::string type = hit->typeName();
        w.tap(point);
        settle();
        json answer = success();
        answer["tapped"] = { { "type", type } };
        return answer;
    }
    if (!text && !identifier)
        return failure("tap needs \"text\", \"id\", or \"x\" and \"y\"");
    // Every view without a text would match an empty one: no touch anybody meant.
    if ((text && text->empty() && !identifier) || (identifier && identifier->empty()))
        return failure(identifier ? "tap needs an \"id\" that is not empty" : "tap needs a \"text\" that is not empty");

    std::vector<std::pair<ui::View*, ui::Rect>> visible;
    collectVisible(w, w.bounds(), visible);
    std::vector<ui::View*> matches;
    for (auto& [view, rect] : visible) {
        bool match = identifier ? view->accessibilityIdentifier() == *identifier
                                : (view->displayText() == *text || (!view->accessibilityLabel().empty() && view->accessibilityLabel() == *text));
        if (match)
            matches.push_back(view);
    }
    std::string what = identifier ? "id \"" + *identifier + "\"" : "\"" + *text + "\"";
    if (matches.empty())
        return failure("nothing on screen shows " + what);
    // The one lying on top first; a covered one only when nothing better is there.
    std::string firstError;
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        json answer = success();
        std::string error;
        if (tapView(**it, answer, error))
            return answer;
        if (firstError.empty())
            firstError = error;
    }
    return failure("cannot tap " + what + ": " + firstError);
}

json Driver::tapRow(const json& command)
{
    auto indexPath = pathField(command, nullptr);
    auto* table = indexPath ? topmostTable() : nullptr;
    if (auto refusal = refuseRow("tapRow", indexPath, table))
        return *refusal;
    table->scrollToRowAtIndexPath(*indexPath, ui::TableViewScrollPosition::Middle, false);
    ui::Window& w = *window();
    w.layoutIfNeeded();
    auto cell = table->cellForRowAtIndexPath(*indexPath);
    if (!cell)
        return failure(rowName(*indexPath) + " has no cell on screen");
    auto point = rowPoint(w, *table, *cell, false);
    if (!point)
        return failure(rowName(*indexPath) + " is covered by something else");
    json texts = json::array();
    collectTexts(*cell, texts);
    w.tap(*point);
    settle();
    json answer = success();
    answer["row"] = pathJson(*indexPath);
    answer["texts"] = std::move(texts);
    return answer;
}

json Driver::swipeDelete(const json& command)
{
    auto indexPath = pathField(command, nullptr);
    auto* table = indexPath ? topmostTable() : nullptr;
    if (auto refusal = refuseRow("swipeDelete", indexPath, table))
        return *refusal;
    auto keep = std::static_pointer_cast<ui::TableView>(table->shared_from_this());
    ui::Window& w = *window();
    table->scrollToRowAtIndexPath(*indexPath, ui::TableViewScrollPosition::Middle, false);
    w.layoutIfNeeded();
    int sectionsBefore = table->numberOfSections();
    int rowsBefore = table->numberOfRowsInSection(indexPath->section);
    if (table->isEditing()) {
        // In editing mode the row's delete control brings up the same button.
        table->showDeleteConfirmationForRowAtIndexPath(*indexPath);
    } else if (auto cell = table->cellForRowAtIndexPath(*indexPath)) {
        auto start = rowPoint(w, *table, *cell, true);
        if (!start)
            return failure(rowName(*indexPath) + " is covered by something else");
        // A finger sliding to the left over the row.
        w.touchBegan(*start);
        for (double dx : { 15.0, 40.0, 80.0, 120.0 })
            w.touchMoved({ std::max(1.0, start->x - dx), start->y });
        w.touchEnded({ std::max(1.0, start->x - 120), start->y });
    }
    settle();
    if (table->indexPathForDeleteConfirmation() != indexPath)
        return failure(rowName(*indexPath) + " offers no Delete button: the screen does not let it be deleted");
    auto cell = table->cellForRowAtIndexPath(*indexPath);
    auto* deleteButton = cell ? cell->deleteConfirmationButton() : nullptr;
    if (!deleteButton)
        return failure(rowName(*indexPath) + " lost its Delete button");
    json answer = success();
    std::string error;
    if (!tapView(*deleteButton, answer, error))
        return failure("cannot tap the Delete button: " + error);
    answer.erase("tapped");
    answer["deleted"] = table->numberOfSections() != sectionsBefore || table->numberOfRowsInSection(indexPath->section) < rowsBefore;
    return answer;
}

json Driver::moveRow(const json& command)
{
    auto from = pathField(command, "from");
    auto to = pathField(command, "to");
    if (!from || !to)
        return failure("moveRow needs \"from\" and \"to\", each [section, row]");
    auto* table = topmostTable();
    if (!table)
        return failure("no table is in sight");
    if (!table->isEditing())
        return failure("the table is not in editing mode (tap its Edit button first)");
    if (!table->isValidIndexPath(*from))
        return failure(describeRange(*table, *from));
    if (to->section < 0 || to->section >= table->numberOfSections() || to->row < 0)
        return failure(describeRange(*table, *to));
    auto landed = table->moveRowByUser(*from, *to);
    if (!landed)
        return failure(rowName(*from) + " cannot be moved: the screen does not let it move");
    settle();
    json answer = success();
    answer["to"] = pathJson(*landed);
    return answer;
}

json Driver::sectionIndex(const json& command)
{
    auto* table = topmostTable();
    if (!table)
        return failure("no table is in sight");
    auto titles = table->sectionIndexTitles();
    if (titles.empty())
        return failure("the table shows no section index");
    if (!table->isShowingSectionIndex())
        return failure("the section index is hidden while a search runs over the list");
    auto position = intField(command, "position");
    if (auto title = stringField(command, "title")) {
        std::string wanted = *title == "search" ? ui::TableViewIndexSearch : *title;
        auto found = std::find(titles.begin(), titles.end(), wanted);
        if (found == titles.end())
            return failure("the section index has no entry \"" + *title + "\"");
        position = static_cast<int>(found - titles.begin());
    }
    if (!position)
        return failure("index needs \"position\" (a whole number) or \"title\"");
    if (*position < 0 || *position >= static_cast<int>(titles.size()))
        return failure("the section index has " + std::to_string(titles.size()) + " entries");
    table->selectSectionIndexEntry(*position);
    settle();
    json answer = success();
    answer["title"] = titles[static_cast<std::size_t>(*position)];
    return answer;
}

json Driver::typeText(const json& command)
{
    auto* responder = window()->firstResponder();
    auto* input = responder ? responder->textInput() : nullptr;
    if (!input)
        return failure("nothing has the keyboard: tap a text field first");
    auto text = stringField(command, "text");
    auto backspaces = intField(command, "backspace");
    bool pressReturn = command.contains("return") && command["return"].is_boolean() && command["return"].get<bool>();
    if (!text && !backspaces && !pressReturn)
        return failure("type needs \"text\", \"backspace\" (a count) or \"return\": true");
    if (backspaces && (*backspaces < 0 || *backspaces > 10000))
        return failure("backspace takes a count from 0 to 10000");
    for (int i = 0; backspaces && i < *backspaces; ++i)
        input->deleteBackward();
    if (text && !text->empty())
        input->insertText(*text);
    if (pressReturn)
        input->insertText("\n");
    settle();
    json answer = success();
    // The field may have given up the keyboard on return.
    if (auto* still = window()->firstResponder(); still && still->textInput())
        answer["text"] = still->textInput()->text();
    return answer;
}

json Driver::button(const json& command)
{
    auto* panel = ui::ButtonPanel::topmostVisible();
    if (!panel)
        return failure("no alert or action sheet is shown");
    auto keep = panel->shared_from_this();
    auto index = intField(command, "index");
    if (auto title = stringField(command, "title")) {
        for (int i = 0; i < panel->numberOfButtons(); ++i) {
            if (panel->buttonTitleAtIndex(i) == *title) {
                index = i;
                break;
            }
        }
        if (!index)
            return failure("the " + panel->typeName() + " has no button \"" + *title + "\"");
    }
    if (!index)
        return failure("button needs \"index\" (a whole number) or \"title\"");
    if (*index < 0 || *index >= panel->numberOfButtons()) {
        std::string titles;
        for (int i = 0; i < panel->numberOfButtons(); ++i)
            titles += (i ? ", " : "") + std::to_string(i) + " \"" + panel->buttonTitleAtIndex(i) + "\"";
        return failure("button " + std::to_string(*index) + " does not exist; the " + panel->typeName() + " has "
                       + std::to_string(panel->numberOfButtons()) + " buttons: " + titles);
    }
    std::string pressed = panel->buttonTitleAtIndex(*index);
    panel->tapButtonAtIndex(*index);
    settle();
    json answer = success();
    answer["title"] = pressed;
    return answer;
}

// ---- Time and the device ---------------------------------------------------------------

json Driver::advance(const json& command)
{
    auto seconds = numberField(command, "seconds");
    if (!seconds || *seconds < 0 || *seconds > longestAdvance)
        return failure("advance needs \"seconds\" from 0 to " + std::to_string(static_cast<int>(longestAdvance)));
    auto& loop = foundation::RunLoop::main();
    if (auto* clock = loop.manualClock()) {
        clock->advance(*seconds);
    } else {
        double deadline = loop.now() + *seconds;
        while (true) {
            loop.runDueEntries();
            double left = deadline - loop.now();
            if (left <= 0)
                break;
            // Work posted from other threads (a download's answer) wakes nobody here, so the
            // wait is cut into short slices that look at the loop again.
            double wait = std::min({ left, loop.secondsUntilNextEntry().value_or(left), 0.01 });
            std::this_thread::sleep_for(std::chrono::duration<double>(std::max(0.0, wait)));
        }
    }
    settle();
    json answer = success();
    answer["now"] = rounded(loop.now());
    return answer;
}

json Driver::foreground(const json&)
{
    if (!m_foregroundHandler)
        return failure("the program has nothing that returns to the foreground");
    m_foregroundHandler();
    settle();
    return success();
}

json Driver::openedURLs(const json&)
{
    json answer = success();
    answer["urls"] = ui::Application::shared().takeOpenedURLs();
    return answer;
}

json Driver::pasteboard(const json& command)
{
    auto& board = ui::Pasteboard::generalPasteboard();
    if (command.contains("set")) {
        auto text = stringField(command, "set");
        if (!text)
            return failure("pasteboard \"set\" takes a text");
        board.setString(*text);
    }
    json answer = success();
    answer["string"] = board.string() ? json(*board.string()) : json(nullptr);
    return answer;
}

json Driver::log(const json&)
{
    json answer = success();
    answer["lines"] = m_log.takeLines();
    return answer;
}

json Driver::quit(const json&)
{
    m_quit = true;
    return success();
}

} // namespace tessaro
