// Builds a control tree from skin XML: window settings from the root element, fonts, colours
// and classes, one control per element, Include files and declarative event handlers.
#pragma once

#include <memory>
#include <string>

#include "markup/XmlMarkup.h"
#include "resources/GlobalManager.h"

namespace ui {

class Box;
class Control;
class Window;

class WindowBuilder {
 public:
  // Include files nest at most this deep, and one build inlines at most this many; a skin with
  // its includes expanded holds at most kMaxSkinFileBytes characters.
  static constexpr int kMaxIncludeDepth = 16;
  static constexpr int kMaxIncludes = 256;

  WindowBuilder();
  ~WindowBuilder();
  WindowBuilder(const WindowBuilder&) = delete;
  WindowBuilder& operator=(const WindowBuilder&) = delete;

  // `source` is XML text (starting with "<") or a path below the resource folder; an empty
  // source builds the document already held again. Returns the first top-level control.
  Control* Create(const std::wstring& source, const CreateControlCallback& callback = nullptr,
                  Window* window = nullptr, Box* parent = nullptr);
  // Builds the held document again.
  Control* Create(const CreateControlCallback& callback, Window* window = nullptr,
                  Box* parent = nullptr);

  static Control* CreateControlByClass(const std::wstring& class_name);

 private:
  // What one build has inlined so far, shared with its nested builds.
  struct IncludeBudget {
    int depth = 0;
    int count = 0;
    size_t characters = 0;  // the document's and its includes'
    bool exhausted = false;
  };

  bool Load(const std::wstring& source);
  // Counts the included document just loaded; false once the skin grows past its limit.
  bool CountInclude(const std::wstring& source);
  Control* Build(Window* window, Box* parent);
  void ApplyWindowAttributes(XmlNode root, Window* window);
  void ApplyGlobalAttributes(XmlNode root);
  void RegisterResources(XmlNode root, Window* window, bool global);
  Control* WalkChildren(XmlNode node, Control* parent, Window* window);
  void Include(XmlNode node, Control* parent, Window* window);
  Control* NewControl(const std::wstring& tag);
  void AttachEvents(XmlNode node, Control* parent, bool bubbled);

  XmlMarkup xml_;
  CreateControlCallback callback_;
  std::shared_ptr<IncludeBudget> budget_;
};

}  // namespace ui
