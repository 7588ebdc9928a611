// Image attribute strings, decoding (PNG alpha, GIF frames and delays) from disk and archive,
// the shared image cache and its prefetch, and painting of state images and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "control/Control.h"
#include "system/DpiManager.h"
#include "system/SkinLog.h"
#include "FileBytes.h"
#include "image/Image.h"
#include "image/ImageBudget.h"
#include "image/ImagePrefetch.h"
#include "RenderTestSupport.h"
#include "image/StateImage.h"
#include "TempFolder.h"
#include "TestImages.h"
#include "archive/ZipApi.h"
#include "window/Window.h"
#include "ZipWriter.h"

namespace ui {
namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST(ImageAttribute, ParsesKeyValuePairs) {
  ImageAttribute a;
  a.ModifyAttribute(
      L"file='../bk.png' corner='4' fade='300' xtiled='TRUE' ytiled='true' "
      L"source='1,2,3,4' playcount='3' unknown='x'");
  EXPECT_EQ(a.file_name, L"../bk.png");
  EXPECT_TRUE(SameRect(a.corner, RECT{4, 0, 0, 0}));
  EXPECT_EQ(a.fade, 44);
  EXPECT_FALSE(a.xtiled);
  EXPECT_TRUE(a.ytiled);
  EXPECT_TRUE(SameRect(a.source, RECT{1, 2, 3, 4}));
  EXPECT_EQ(a.play_count, 3);

  ImageAttribute b;
  b.ModifyAttribute(L"res='a.png'fade='10'");  // no space after the quote: parsing ends
  EXPECT_EQ(b.file_name, L"a.png");
  EXPECT_EQ(b.fade, 255);
  ImageAttribute c;
  c.ModifyAttribute(L"  file='x.png'  fade='7' ");
  EXPECT_EQ(c.file_name, L"x.png");
  EXPECT_EQ(c.fade, 7);
  ImageAttribute bare;
  bare.ModifyAttribute(L"bare.png");
  EXPECT_EQ(bare.file_name, L"");
  ImageAttribute unterminated;
  unterminated.ModifyAttribute(L"fade='12");
  EXPECT_EQ(unterminated.fade, 255);
}

TEST(ImageAttribute, ScalesDestUnlessDestscaleFalseComesFirst) {
  DpiManager* dpi = DpiManager::GetInstance();
  dpi->SetAdaptDPI(true);
  dpi->SetScale(200);
  const std::pair<const wchar_t*, RECT> cases[] = {
      {L"file='a.png' dest='0,0,10,10'", RECT{0, 0, 20, 20}},
      {L"destscale='false' dest='0,0,10,10'", RECT{0, 0, 10, 10}},
      {L"dest='0,0,10,10' destscale='false'", RECT{0, 0, 20, 20}},
  };
  for (const auto& [text, expected] : cases) {
    ImageAttribute a;
    a.ModifyAttribute(text);
    EXPECT_TRUE(SameRect(a.dest, expected)) << text;
  }
  dpi->SetAdaptDPI(false);
  dpi->SetScale(100);
}

TEST(Image, SetsBareFileNameAndIntervalsFollowDelays) {
  Image image;
  image.SetImageString(L"bare.png");
  EXPECT_EQ(image.attribute.file_name, L"bare.png");
  EXPECT_EQ(image.attribute.image_string, L"bare.png");
  EXPECT_EQ(image.GetCurrentInterval(), 0);

  auto info = std::make_shared<ImageInfo>();
  info->frame_delays = {0, 30, 70, 2, 4};
  info->frames.assign(5, nullptr);
  image.image_cache = info;
  const int expected[] = {100, 300, 700, 100, 50};
  for (int frame = 0; frame < 5; ++frame) {
    image.current_frame = frame;
    EXPECT_EQ(image.GetCurrentInterval(), expected[frame]) << frame;
  }
  image.current_frame = 5;
  EXPECT_EQ(image.GetCurrentInterval(), 0);
  info->frames.clear();  // frames were never created
}

class ImageLoading : public FrameworkStarted {
 protected:
  TempFolder folder_;
};

TEST_F(ImageLoading, PngAlphaComesFromThePixels) {
  const std::pair<std::vector<uint32_t>, bool> cases[] = {
      {{0xFF102030, 0xFFFFFFFF, 0xFF000000, 0xFF808080}, false},
      {{0xFF102030, 0xFFFFFFFF, 0xFE000000, 0xFF808080}, true},
      {{0x00000000, 0x00000000, 0x00000000, 0x00000000}, true},
  };
  for (const auto& [pixels, alpha] : cases) {
    auto image = DecodeBytes(MakePng(2, 2, pixels), L"a.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->alpha, alpha);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->frames.size(), 1u);
    EXPECT_TRUE(image->frame_delays.empty());
  }
  EXPECT_EQ(DecodeBytes("not an image", L"bad.png"), nullptr);
}

TEST_F(ImageLoading, GifFramesAndDelaysFromDiskAndArchive) {
  const std::string gif = MakeAnimatedGif({0, 30, 70});
  const std::wstring file = folder_.File(L"anim.gif");
  WriteBytes(file, gif);
  auto from_disk = ImageInfo::LoadImage(file);
  auto from_memory = DecodeBytes(gif, L"anim.gif");
  for (const ImageInfo* image : {from_disk.get(), from_memory.get()}) {
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->frames.size(), 3u);
    EXPECT_EQ(image->frame_delays, (std::vector<UINT>{0, 30, 70}));
  }

  ZipWriterEntry entry;
  entry.name = "skin/anim.gif";
  entry.data = gif;
  const std::string archive = BuildZip({entry});
  ResourceZip() = OpenZip(archive.data(), static_cast<uint32_t>(archive.size()), "");
  auto from_archive = GlobalManager::GetImage(L"skin\\anim.gif");
  ASSERT_NE(from_archive, nullptr);
  EXPECT_EQ(from_archive->frames.size(), 3u);
  EXPECT_EQ(from_archive->path, L"skin/anim.gif");
}

TEST_F(ImageLoading, ImagesAboveThePixelBudgetAreRefusedUndecoded) {
  std::vector<std::wstring> lines;
  const SkinLogSink previous =
      SetSkinLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
  const std::string huge_png = PngAnnouncing(40000, 40000);
  const std::wstring file = folder_.File(L"huge.png");
  WriteBytes(file, huge_png);
  EXPECT_EQ(DecodeBytes(huge_png, L"huge.png"), nullptr);
  EXPECT_EQ(ImageInfo::LoadImage(file), nullptr);
  EXPECT_EQ(DecodeBytes(PngAnnouncing(12000, 12000), L"big.png"), nullptr);
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find(L"40000 x 40000"), std::wstring::npos) << lines[0];

  // An animation keeps the frames that fit: 4096 x 2048 pixels each, four of six.
  lines.clear();
  auto animation = DecodeBytes(MakeLargeAnimatedGif(4096, 2048, 6), L"large.gif");
  ASSERT_NE(animation, nullptr);
  EXPECT_EQ(animation->frames.size(), 4u);
  EXPECT_EQ(animation->frame_delays.size(), 4u);
  EXPECT_EQ(lines.size(), 1u);

  SetSkinLogSink(previous);
}

// A GIF's logical screen says nothing of its frames: each frame is held to the budget before
// anything is decoded, and the frames past the budgets are cut off unread.
TEST_F(ImageLoading, GifFramesAreHeldToTheBudgetBeforeDecoding) {
  std::vector<std::wstring> lines;
  const SkinLogSink previous =
      SetSkinLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
  struct Case {
    const char* what;
    std::string gif;
    size_t frames;  // 0: refused
  };
  const Case cases[] = {
      {"1x1 screen, 40000x40000 frame", MakeGif(1, 1, {{40000, 40000}}), 0},
      {"second frame above the budget", MakeGif(8, 8, {{8, 8}, {8000, 8000}, {8, 8}}), 1},
      {"more frames than the budget", MakeAnimatedGif(std::vector<uint16_t>(3000, 5)),
       ImageBudget::kMaxFrames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lines.clear();
    const uint64_t in_use = ImageBudget::PixelsInUse();
    std::unique_ptr<ImageInfo> image = DecodeBytes(c.gif, L"frames.gif");
    EXPECT_EQ(image ? image->frames.size() : 0u, c.frames);
    if (image) {
      if (c.frames > 1) {
        EXPECT_EQ(image->frame_delays.size(), c.frames);
      }
      EXPECT_EQ(ImageBudget::PixelsInUse() - in_use, image->budget_pixels);
    }
    ASSERT_EQ(lines.size(), 1u);
    if (!image) {
      EXPECT_NE(lines[0].find(L"40000 x 40000"), std::wstring::npos) << lines[0];
    }
  }
  SetSkinLogSink(previous);
}

// Decoded images hold their pixels from one total; past it an image is refused (one line) until
// others are destroyed.
TEST_F(ImageLoading, DecodedImagesShareOneProcessBudget) {
  std::vector<std::wstring> lines;
  const SkinLogSink previous =
      SetSkinLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
  const std::string four_pixels = MakePng(2, 2, std::vector<uint32_t>(4, 0xFF000000));
  const uint64_t left = ImageBudget::kMaxTotalPixels - ImageBudget::PixelsInUse();
  ASSERT_TRUE(ImageBudget::Reserve(left - 5, L"others"));
  std::unique_ptr<ImageInfo> first = DecodeBytes(four_pixels, L"first.png");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(DecodeBytes(four_pixels, L"second.png"), nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"second.png"), std::wstring::npos) << lines[0];
  first.reset();
  EXPECT_NE(DecodeBytes(four_pixels, L"second.png"), nullptr);
  ImageBudget::Release(left - 5);
  EXPECT_EQ(ImageBudget::kMaxTotalPixels - ImageBudget::PixelsInUse(), left);
  SetSkinLogSink(previous);
}

// Windows names one file by any letter case and by "." and ".." steps; so does the archive.
TEST_F(ImageLoading, SpellingsOfOneFileShareOneImage) {
  CreateDirectoryW(folder_.File(L"sub").c_str(), nullptr);
  const std::wstring file = folder_.File(L"sub\\Pic.png");
  WriteBytes(file, MakePng(1, 1, {0xFF00FF00}));
  std::wstring upper = file;
  CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
  std::wstring forward = folder_.File(L"sub/./other/../pic.PNG");
  const std::wstring spellings[] = {upper, forward, folder_.File(L"sub\\\\.\\pic.png")};
  std::shared_ptr<ImageInfo> image = GlobalManager::GetImage(file);
  ASSERT_NE(image, nullptr);
  for (const std::wstring& spelling : spellings) EXPECT_EQ(GlobalManager::GetImage(spelling), image) << spelling;

  ZipWriterEntry entry;
  entry.name = "Skin/Pic.png";
  entry.data = MakePng(1, 1, {0xFF0000FF});
  const std::string archive = BuildZip({entry});
  ResourceZip() = OpenZip(archive.data(), static_cast<uint32_t>(archive.size()), "");
  std::shared_ptr<ImageInfo> zipped = GlobalManager::GetImage(L"skin\\pic.png");
  ASSERT_NE(zipped, nullptr);
  for (const wchar_t* spelling : {L"SKIN/PIC.PNG", L"skin/./x/../Pic.png", L".\\Skin\\pic.png"})
    EXPECT_EQ(GlobalManager::GetImage(spelling), zipped) << spelling;
}

// An image that does not load is not read again while anyone holds its failure; once the last
// holder lets go, the next use reads the file again.
TEST_F(ImageLoading, AFailedLoadIsRememberedWhileHeld) {
  std::vector<std::wstring> lines;
  const SkinLogSink previous =
      SetSkinLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
  const std::wstring file = folder_.File(L"broken.png");
  WriteBytes(file, "not an image");
  std::shared_ptr<ImageInfo> failure = GlobalManager::GetImageEntry(file);
  ASSERT_NE(failure, nullptr);
  EXPECT_TRUE(failure->failed);
  EXPECT_TRUE(failure->frames.empty());
  WriteBytes(file, MakePng(1, 1, {0xFF000000}));
  for (int paint = 0; paint < 3; ++paint) {
    EXPECT_EQ(GlobalManager::GetImageEntry(file), failure);
    EXPECT_EQ(GlobalManager::GetImage(file), nullptr);
  }
  EXPECT_EQ(lines.size(), 1u);  // read once
  failure.reset();
  EXPECT_NE(GlobalManager::GetImage(file), nullptr);
  SetSkinLogSink(previous);
}

TEST_F(ImageLoading, ACacheLayerAboveTheBudgetIsNotMade) {
  auto surface = Surface(50, 50);
  for (const int side : {40, 23000}) {
    Control control;
    control.SetUseCache(true);
    control.SetPos(RECT{0, 0, side, side});
    control.SetCacheDirty(true);
    control.AlphaPaint(surface.get(), RECT{0, 0, 50, 50});
    // Painting through a layer cleans it; drawing straight leaves the flag alone.
    EXPECT_EQ(control.IsCacheDirty(), side > 10000) << side;
  }
}

TEST_F(ImageLoading, CacheSharesImagesAndForgetsTheLastReleased) {
  const std::wstring file = folder_.File(L"shared.png");
  WriteBytes(file, MakePng(1, 1, {0xFF00FF00}));
  std::shared_ptr<ImageInfo> first = GlobalManager::GetImage(file);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->cached);
  std::wstring forward = file;
  for (wchar_t& c : forward)
    if (c == L'\\') c = L'/';
  EXPECT_EQ(GlobalManager::GetImage(forward), first);
  EXPECT_EQ(GlobalManager::GetCachedImage(file), first);
  std::weak_ptr<ImageInfo> watch = first;
  first.reset();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(GlobalManager::GetCachedImage(file), nullptr);
  DeleteFileW(file.c_str());
  EXPECT_EQ(GlobalManager::GetImage(file), nullptr);  // evicted: loads again, and it is gone
}

// Each request is handed out once, decoded as a direct decode would be (from its block, or
// from the file when it has none); a second request for a key is dropped; Stop drops the rest.
TEST_F(ImageLoading, PrefetcherHandsOutEachRequestOnce) {
  const std::wstring file = folder_.File(L"disk.png");
  WriteBytes(file, MakePng(3, 1, {0xFF000000, 0x80FFFFFF, 0xFF00FF00}));
  ImagePrefetcher prefetcher;
  prefetcher.Start();
  prefetcher.Request(L"memory.png", BlockOf(MakePng(2, 2, {0xFF102030, 0xFF102030, 0xFF102030, 0xFF102030})));
  prefetcher.Request(L"memory.png", BlockOf(MakePng(1, 1, {0xFF000000})));
  prefetcher.Request(file, nullptr);
  prefetcher.Request(L"broken.png", BlockOf("not an image"));
  EXPECT_TRUE(prefetcher.IsRequested(L"memory.png"));
  std::unique_ptr<ImageInfo> image;
  ASSERT_TRUE(prefetcher.Take(L"memory.png", image));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  EXPECT_FALSE(image->alpha);
  EXPECT_FALSE(prefetcher.Take(L"memory.png", image)) << "handed out twice";
  ASSERT_TRUE(prefetcher.Take(file, image));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 3);
  EXPECT_TRUE(image->alpha);
  ASSERT_TRUE(prefetcher.Take(L"broken.png", image));
  EXPECT_EQ(image, nullptr);
  EXPECT_FALSE(prefetcher.Take(L"never.png", image));

  // Requests not taken are given up: decoded, queued or being decoded.
  const std::string large = MakePng(1024, 1024, std::vector<uint32_t>(1024 * 1024, 0xFF000000));
  const uint64_t in_use = ImageBudget::PixelsInUse();
  for (const wchar_t* key : {L"a.png", L"b.png", L"c.png"}) prefetcher.Request(key, BlockOf(large));
  prefetcher.DropUntaken();
  for (const wchar_t* key : {L"a.png", L"b.png", L"c.png"}) {
    EXPECT_FALSE(prefetcher.IsRequested(key));
    EXPECT_FALSE(prefetcher.Take(key, image));
  }
  prefetcher.Request(L"left.png", BlockOf(MakePng(1, 1, {0xFF000000})));
  prefetcher.Stop();
  EXPECT_FALSE(prefetcher.IsRequested(L"left.png"));
  EXPECT_EQ(ImageBudget::PixelsInUse(), in_use);
}

// A control's background image is requested as it is set and taken by its first use; without
// a started framework nothing is requested.
TEST_F(ImageLoading, ControlImagesAreDecodedAhead) {
  // Requests are held by cache key: the full path in lower case.
  std::wstring file = folder_.File(L"bk.png");
  CharLowerBuffW(&file[0], static_cast<DWORD>(file.size()));
  WriteBytes(file, MakePng(4, 2, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                  0xFF000000, 0xFF000000, 0xFF000000}));
  ImagePrefetcher& prefetcher = ImagePrefetcher::Instance();
  Control control;
  control.SetBkImage(L"file='" + file + L"'");
  EXPECT_TRUE(prefetcher.IsRequested(file));
  std::shared_ptr<ImageInfo> image = GlobalManager::GetImage(file);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 4);
  EXPECT_FALSE(prefetcher.IsRequested(file));
  image.reset();

  GlobalManager::Shutdown();
  Control later;
  later.SetBkImage(L"file='" + file + L"'");
  EXPECT_FALSE(prefetcher.IsRequested(file));
  GlobalManager::Startup(L"", nullptr, L"", L"");
}

// A relative name estimated before the control's window resolves it fails there; the failure
// is not kept, so in the window the image gives the control its size.
TEST_F(ImageLoading, ARelativeNameFailingBeforeTheWindowLoadsInIt) {
  WriteBytes(folder_.File(L"late.png"), MakePng(4, 2, std::vector<uint32_t>(8, 0xFF000000)));
  Control control;
  control.SetFixedWidth(kSizeAuto, false, false);
  control.SetFixedHeight(kSizeAuto, false);
  control.SetBkImage(L"file='late.png'");
  const SIZE before = control.EstimateSize(SIZE{100, 100});
  EXPECT_EQ(before.cx, 0);
  Window window;
  window.SetResourcePath(folder_.path());
  control.SetWindow(&window);
  control.SetReEstimateSize(true);
  const SIZE in_window = control.EstimateSize(SIZE{100, 100});
  EXPECT_EQ(in_window.cx, 4);
  EXPECT_EQ(in_window.cy, 2);
}

// Records what a control would draw.
class RecordingOwner : public StatePaintOwner {
 public:
  bool HasHotFade() const override { return hot_fade; }
  int GetHotAlpha() const override { return hot_alpha; }
  bool DrawImage(IRenderContext*, Image& image, const std::wstring&, int fade) override {
    draws.push_back({image.attribute.file_name, fade});
    return true;
  }
  bool hot_fade = false;
  int hot_alpha = 0;
  std::vector<std::pair<std::wstring, int>> draws;
};

TEST(StateImage, FallsBackAndPassesFadeForOneDraw) {
  RecordingOwner owner;
  StateImageMap images;
  images.SetOwner(&owner);
  images.SetImage(kStateImageBk, kControlStateNormal, L"file='normal.png'");
  images.SetImage(kStateImageBk, kControlStateHot, L"file='hot.png' fade='100'");
  images.PaintStatusImage(nullptr, kStateImageBk, kControlStatePushed);
  images.PaintStatusImage(nullptr, kStateImageBk, kControlStateHot);
  images.PaintStatusImage(nullptr, kStateImageBk, kControlStateDisabled);
  using Draws = std::vector<std::pair<std::wstring, int>>;
  EXPECT_EQ(owner.draws, (Draws{{L"hot.png", 255}, {L"hot.png", -1}, {L"normal.png", -1}}));
  ASSERT_NE(images.GetEstimateImage(kStateImageBk), nullptr);
  EXPECT_EQ(images.GetEstimateImage(kStateImageBk)->attribute.file_name, L"normal.png");
  EXPECT_EQ(images.GetEstimateImage(kStateImageFore), nullptr);
  EXPECT_TRUE(images.HasHotImage());
  EXPECT_EQ(images.GetImagePath(kStateImageBk, kControlStateHot), L"file='hot.png' fade='100'");
}

TEST(StateImage, HotFadeWeighsNormalAndHot) {
  RecordingOwner owner;
  owner.hot_fade = true;
  owner.hot_alpha = 102;  // 0.4
  StateImageMap images;
  images.SetOwner(&owner);
  images.SetImage(kStateImageBk, kControlStateNormal, L"file='a.png' fade='200'");
  images.SetImage(kStateImageBk, kControlStateHot, L"file='b.png' fade='100'");
  images.PaintStatusImage(nullptr, kStateImageBk, kControlStateNormal);
  images.SetImage(kStateImageFore, kControlStateNormal, L"file='same.png' fade='200'");
  images.SetImage(kStateImageFore, kControlStateHot, L"file='same.png' fade='100'");
  images.PaintStatusImage(nullptr, kStateImageFore, kControlStateHot);
  using Draws = std::vector<std::pair<std::wstring, int>>;
  EXPECT_EQ(owner.draws, (Draws{{L"a.png", -1}, {L"b.png", 40}, {L"same.png", 160}}));
}

using StateColors = FrameworkStarted;

TEST_F(StateColors, StateColoursFallBackAndFadeHot) {
  GlobalManager::AddTextColor(L"state_normal", L"#ff0000ff");
  GlobalManager::AddTextColor(L"state_hot", L"#ffff0000");
  RecordingOwner owner;
  StateColorMap colors;
  colors.SetOwner(&owner);
  colors[kControlStateNormal] = L"state_normal";
  colors[kControlStateHot] = L"state_hot";
  auto surface = Surface(4, 1);
  const RECT all = {0, 0, 4, 1};
  colors.PaintStatusColor(surface.get(), all, kControlStatePushed);
  EXPECT_TRUE(Rgb(PixelAt(surface.get(), 0, 0)) == 0xFF0000u);  // pushed falls back to hot
  colors.PaintStatusColor(surface.get(), all, kControlStateDisabled);
  EXPECT_TRUE(Rgb(PixelAt(surface.get(), 0, 0)) == 0x0000FFu);
  owner.hot_fade = true;
  owner.hot_alpha = 128;
  colors.PaintStatusColor(surface.get(), all, kControlStateNormal);
  const DWORD mixed = Rgb(PixelAt(surface.get(), 0, 0));
  EXPECT_NEAR(static_cast<int>(mixed >> 16), 128, 3);
  EXPECT_NEAR(static_cast<int>(mixed & 0xff), 127, 3);
}

}  // namespace
}  // namespace ui
