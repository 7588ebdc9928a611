// Process-wide store shared by windows and controls: resource folder and archive, render
// factory, fonts, text colours, control classes, images and the create-control callback.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace ui {

class Box;
class Control;
class IRenderContext;
class IRenderFactory;
class ImageInfo;
struct FontInfo;

using CreateControlCallback = std::function<Control*(const std::wstring& class_name)>;

class GlobalManager {
 public:
  GlobalManager() = delete;

  // Starts the framework over `root_path` + `theme_path`; a resource archive, when used, is
  // opened before (ResourceZip()).
  static void Startup(const std::wstring& root_path, const CreateControlCallback& callback,
                      const std::wstring& theme_path, const std::wstring& language_path);
  // Ends the image worker, closes the archive, deletes the render factory and the fonts, shuts
  // GDI+ down.
  static void Shutdown();

  static void SetResourcePath(const std::wstring& path);
  static std::wstring GetResourcePath();
  static CreateControlCallback GetCreateControlCallback();

  static IRenderFactory* GetRenderFactory();
  static void CreateRenderContext(std::unique_ptr<IRenderContext>& context);

  // Builds "global.xml" of the resource folder: fonts, text colours and classes.
  static void LoadGlobalResource();
  // A new tree of the layout at `xml_path`; the file is read once, then rebuilt from memory.
  static Box* CreateBoxWithCache(const std::wstring& xml_path, const CreateControlCallback& callback);

  static void AddClass(const std::wstring& name, const std::wstring& attributes);
  static std::wstring GetClassAttributes(const std::wstring& name);

  // Resource archive.
  static bool IsUseZip();
  // The archive entry of `path` in a movable global block the caller frees, or null.
  static HGLOBAL GetZipData(const std::wstring& path);
  static std::wstring GetZipFilePath(const std::wstring& path);

  // Fonts.
  static HFONT AddFont(const std::wstring& font_id, const std::wstring& face_name, int size,
                       bool bold, bool underline, bool italic, bool is_default);
  static FontInfo* GetFont(const std::wstring& font_id);
  static void RemoveAllFonts();
  static std::wstring GetDefaultFontName();

  // Text colours, by name.
  static void AddTextColor(const std::wstring& name, const std::wstring& value);
  static DWORD GetTextColor(const std::wstring& name);
  static std::wstring GetDefaultTextColor();
  static std::wstring GetDefaultDisabledTextColor();
  static void SetDefaultTextColor(const std::wstring& name);
  static void SetDefaultDisabledTextColor(const std::wstring& name);

  // Decoded images, shared while anyone holds them, under one key for every spelling of a
  // path. Empty for an image that does not load.
  static std::shared_ptr<ImageInfo> GetImage(const std::wstring& path);
  // The image, or its failure to load (ImageInfo::failed): a holder keeps the failure in the
  // cache, so the image is not read again while anyone holds it.
  static std::shared_ptr<ImageInfo> GetImageEntry(const std::wstring& path);
  static std::shared_ptr<ImageInfo> GetCachedImage(const std::wstring& path);
  // Starts decoding `path` on the image worker, to be taken by GetImage; nothing when the
  // framework is not started or the image is cached or requested already.
  static void PrefetchImage(const std::wstring& path);
};

}  // namespace ui
