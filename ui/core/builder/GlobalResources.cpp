// The parts of the global resource manager that need the builder: "global.xml" and the
// cache of built layouts.
#include <map>
#include <memory>

#include "builder/WindowBuilder.h"
#include "layout/Box.h"
#include "window/Window.h"

namespace ui {
namespace {

std::map<std::wstring, std::unique_ptr<WindowBuilder>>& BuilderCache() {
  static std::map<std::wstring, std::unique_ptr<WindowBuilder>> cache;
  return cache;
}

}  // namespace

void GlobalManager::LoadGlobalResource() {
  // A throw-away window receives the Global root; only the registered tables count.
  Window window;
  WindowBuilder builder;
  delete builder.Create(L"global.xml", CreateControlCallback(), &window, nullptr);
}

Box* GlobalManager::CreateBoxWithCache(const std::wstring& xml_path,
                                       const CreateControlCallback& callback) {
  auto& cache = BuilderCache();
  auto found = cache.find(xml_path);
  Control* built = nullptr;
  if (found == cache.end()) {
    auto builder = std::make_unique<WindowBuilder>();
    built = builder->Create(xml_path, callback);
    if (dynamic_cast<Box*>(built)) cache[xml_path] = std::move(builder);
  } else {
    built = found->second->Create(callback);
  }
  auto* box = dynamic_cast<Box*>(built);
  if (!box) delete built;
  return box;
}

}  // namespace ui
