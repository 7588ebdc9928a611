#include "resources/GlobalManager.h"

#include <gdiplus.h>

#include <map>

#include "image/ImagePrefetch.h"
#include "resources/LanguageTable.h"
#include "render/RenderFactory_GdiPlus.h"
#include "archive/ZipApi.h"

namespace ui {
namespace {

struct StartupState {
  std::wstring resource_path;
  CreateControlCallback create_control;
  std::map<std::wstring, std::wstring> classes;
  std::unique_ptr<IRenderFactory> render_factory;
  ULONG_PTR gdiplus_token = 0;
};

StartupState& State() {
  static StartupState state;
  return state;
}

void LoadLanguage(const std::wstring& file) {
  if (!GlobalManager::IsUseZip()) {
    LanguageTable::GetInstance()->LoadStringTable(file);
    return;
  }
  if (HGLOBAL block = GlobalManager::GetZipData(file)) {
    LanguageTable::GetInstance()->LoadStringTable(block);
    GlobalFree(block);
  }
}

}  // namespace

void GlobalManager::Startup(const std::wstring& root_path, const CreateControlCallback& callback,
                            const std::wstring& theme_path, const std::wstring& language_path) {
  StartupState& state = State();
  state.render_factory = std::make_unique<RenderFactory_GdiPlus>();
  SetResourcePath(root_path + theme_path);
  state.create_control = callback;
  LoadGlobalResource();
  LoadLanguage(root_path + language_path + L"\\strings.ini");
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&state.gdiplus_token, &input, nullptr);
  ImagePrefetcher::Instance().Start();
}

void GlobalManager::Shutdown() {
  StartupState& state = State();
  ImagePrefetcher::Instance().Stop();
  if (ResourceZip()) CloseZip();
  state.render_factory.reset();
  RemoveAllFonts();
  if (state.gdiplus_token) Gdiplus::GdiplusShutdown(state.gdiplus_token);
  state.gdiplus_token = 0;
}

void GlobalManager::SetResourcePath(const std::wstring& path) {
  std::wstring& stored = State().resource_path;
  stored = path;
  if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') stored += L'\\';
}

std::wstring GlobalManager::GetResourcePath() { return State().resource_path; }

CreateControlCallback GlobalManager::GetCreateControlCallback() { return State().create_control; }

IRenderFactory* GlobalManager::GetRenderFactory() { return State().render_factory.get(); }

void GlobalManager::CreateRenderContext(std::unique_ptr<IRenderContext>& context) {
  if (IRenderFactory* factory = GetRenderFactory()) context.reset(factory->CreateRenderContext());
}

void GlobalManager::AddClass(const std::wstring& name, const std::wstring& attributes) {
  State().classes[name] = attributes;
}

std::wstring GlobalManager::GetClassAttributes(const std::wstring& name) {
  const auto& classes = State().classes;
  auto found = classes.find(name);
  return found == classes.end() ? std::wstring() : found->second;
}

}  // namespace ui
