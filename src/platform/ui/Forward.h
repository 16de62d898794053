#pragma once
// Forward declarations of the view tree's types, for headers that only pass them along.

namespace ui {

class Application;
class BarButtonItem;
class Button;
class Control;
class Image;
class ImageView;
class Label;
class NavigationBar;
class NavigationController;
class NavigationItem;
class Painter;
class Responder;
class TabBar;
class TabBarController;
class TabBarItem;
class TextInput;
class TextMeasurer;
class Toolbar;
class View;
class ViewController;
class Window;
struct Touch;

} // namespace ui
