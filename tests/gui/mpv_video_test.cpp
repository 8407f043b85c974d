#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "linux/mpv/gl_probe.h"
#include "mpv_harness.h"
#include "support/temp_folder.h"

namespace taviro::testing {
namespace {

using namespace std::chrono_literals;
using mpv::RenderPath;

// The picture in both render paths: drawn, hidden and moved to full screen
// and back while playing.
class MpvVideoTest : public ::testing::TestWithParam<RenderPath> {
 protected:
  static void SetUpTestSuite() {
    gtk_init(nullptr, nullptr);
    media_ = std::make_unique<TempFolder>();
    MakeClip(*media_ / "clip.mp4", 6);
    // Without sound the picture drives the clock, so a picture that is not
    // drawn holds playback back.
    MakeClip(*media_ / "silent.mp4", 6, false);
  }
  static void TearDownTestSuite() { media_.reset(); }

  static std::string Clip(const char* name) { return (*media_ / name).string(); }

  static void StartPlaying(PlayerUnderTest& under_test, const char* clip) {
    under_test.player().SetUrl(Clip(clip));
    under_test.player().Play();
    ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying))
        << "state " << static_cast<int>(under_test.player().State());
    ASSERT_EQ(under_test.player().surface().renderer()->path(), GetParam());
  }

  // Whether playback runs at its pace with the picture drawn: positions move
  // on and frames keep coming.
  static void ExpectPlayingWithPicture(PlayerUnderTest& under_test, const char* where) {
    auto& player = under_test.player();
    const std::uint64_t frames = under_test.Frames();
    const auto start = std::chrono::steady_clock::now();
    const int position = player.Position();
    EXPECT_TRUE(PumpUntil([&] { return player.Position() >= position + 1; }, 3s)) << where << ": stalled";
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms) << where << ": fell behind";
    EXPECT_TRUE(PumpUntil([&] { return under_test.Frames() > frames + 5; }, 2s))
        << where << ": no frames drawn";
    EXPECT_EQ(player.PropertyText("video-params/w"), "320") << where << ": the picture was dropped";
    EXPECT_EQ(player.State(), PlayerState::kPlaying) << where;
  }

  static void ExpectNoErrors(const PlayerUnderTest& under_test) {
    for (const auto& line : under_test.errors()) {
      ADD_FAILURE() << "player logged: " << line;
    }
  }

  // Full screen is on the screen once its window is mapped and the picture
  // has been drawn there.
  static bool ShownFullScreen(PlayerUnderTest& under_test) {
    const auto& surface = under_test.player().surface();
    const std::uint64_t frames = under_test.Frames();
    return PumpUntil([&] {
      GtkWindow* full = surface.full_screen_window();
      return full != nullptr && gtk_widget_get_mapped(GTK_WIDGET(full)) && under_test.Frames() > frames;
    });
  }

  static GtkWidget* Picture(PlayerUnderTest& under_test) {
    return under_test.player().surface().renderer()->widget();
  }

  static std::unique_ptr<TempFolder> media_;
};

std::unique_ptr<TempFolder> MpvVideoTest::media_;

GdkSeat* Seat() { return gdk_display_get_default_seat(gdk_display_get_default()); }

GdkEvent* KeyPress(GtkWindow* window, guint keyval) {
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(window))));
  event->key.keyval = keyval;
  event->key.send_event = TRUE;
  gdk_event_set_device(event, gdk_seat_get_keyboard(Seat()));
  gdk_event_set_source_device(event, gdk_seat_get_keyboard(Seat()));
  return event;
}

GdkEvent* DoubleClick(GtkWindow* window) {
  GdkEvent* event = gdk_event_new(GDK_2BUTTON_PRESS);
  event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(window))));
  event->button.button = GDK_BUTTON_PRIMARY;
  event->button.send_event = TRUE;
  gdk_event_set_device(event, gdk_seat_get_pointer(Seat()));
  gdk_event_set_source_device(event, gdk_seat_get_pointer(Seat()));
  return event;
}

TEST_P(MpvVideoTest, FullScreenCarriesThePictureAndEscapeBringsItBack) {
  PlayerUnderTest under_test(GetParam());
  StartPlaying(under_test, "silent.mp4");
  ExpectPlayingWithPicture(under_test, "in the window");

  under_test.player().SetFullScreen(true);
  const auto& surface = under_test.player().surface();
  ASSERT_TRUE(surface.full_screen());
  GtkWindow* full = surface.full_screen_window();
  EXPECT_EQ(gtk_widget_get_toplevel(Picture(under_test)), GTK_WIDGET(full));
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_allocated_width(GTK_WIDGET(full)) == 1024; }, 2s))
      << "the window does not cover the screen";
  ExpectPlayingWithPicture(under_test, "full screen");
  under_test.player().SetFullScreen(true);
  EXPECT_EQ(surface.full_screen_window(), full) << "a second request changes nothing";

  GdkEvent* other = KeyPress(full, GDK_KEY_space);
  gtk_main_do_event(other);
  gdk_event_free(other);
  EXPECT_TRUE(surface.full_screen()) << "only Escape leaves";

  GdkEvent* escape = KeyPress(full, GDK_KEY_Escape);
  gtk_main_do_event(escape);
  gdk_event_free(escape);
  EXPECT_FALSE(surface.full_screen());
  EXPECT_EQ(gtk_widget_get_toplevel(Picture(under_test)), GTK_WIDGET(under_test.window()));
  ExpectPlayingWithPicture(under_test, "back in the window");
  ExpectNoErrors(under_test);
}

TEST_P(MpvVideoTest, DoubleClickLeavesFullScreenAndTheCoreCanLeaveToo) {
  PlayerUnderTest under_test(GetParam());
  StartPlaying(under_test, "clip.mp4");
  const auto& surface = under_test.player().surface();

  under_test.player().SetFullScreen(true);
  ASSERT_TRUE(ShownFullScreen(under_test));
  GdkEvent* click = DoubleClick(surface.full_screen_window());
  gtk_main_do_event(click);
  gdk_event_free(click);
  EXPECT_FALSE(surface.full_screen());

  under_test.player().SetFullScreen(true);
  ASSERT_TRUE(ShownFullScreen(under_test));
  under_test.player().SetFullScreen(false);
  EXPECT_FALSE(surface.full_screen());
  ExpectPlayingWithPicture(under_test, "after two trips");
  ExpectNoErrors(under_test);
}

TEST_P(MpvVideoTest, AHiddenPictureStillTakesEveryFrame) {
  PlayerUnderTest under_test(GetParam());
  StartPlaying(under_test, "silent.mp4");
  auto& player = under_test.player();

  gtk_widget_hide(player.VideoWidget());
  const int drops = std::stoi(player.PropertyText("frame-drop-count"));
  const int position = player.Position();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(PumpUntil([&] { return player.Position() >= position + 2; }, 4s)) << "playback stalled";
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "playback fell behind";
  // A frame nobody takes is dropped after a wait in the player: about fifty
  // in these two seconds. A busy machine makes the player drop some of its
  // own accord.
  EXPECT_LT(std::stoi(player.PropertyText("frame-drop-count")) - drops, 25);

  gtk_widget_show(player.VideoWidget());
  ExpectPlayingWithPicture(under_test, "shown again");
  ExpectNoErrors(under_test);
}

TEST_P(MpvVideoTest, OutlivesTheWindowThatShowedIt) {
  PlayerUnderTest under_test(GetParam());
  StartPlaying(under_test, "clip.mp4");
  under_test.player().SetFullScreen(true);
  ASSERT_TRUE(ShownFullScreen(under_test));
  under_test.player().SetFullScreen(false);

  under_test.DestroyWindow();
  auto& player = under_test.player();
  const int position = player.Position();
  EXPECT_TRUE(PumpUntil([&] { return player.Position() >= position + 1; }, 5s)) << "the sound stopped";
  EXPECT_EQ(player.State(), PlayerState::kPlaying) << "the sound plays on";
  player.Stop();
  EXPECT_TRUE(under_test.WaitForState(PlayerState::kIdle, 5s));
  ExpectNoErrors(under_test);
}

// Pixel of the screen as the X server holds it, which is where frames put
// past GTK end up.
guint32 ScreenPixel(GtkWidget* widget, int x, int y) {
  GdkPixbuf* shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(widget), x, y, 1, 1);
  if (shot == nullptr) {
    return 0xDEADBEEF;
  }
  const guchar* rgb = gdk_pixbuf_get_pixels(shot);
  const guint32 pixel = (static_cast<guint32>(rgb[0]) << 16) | (static_cast<guint32>(rgb[1]) << 8) | rgb[2];
  g_object_unref(shot);
  return pixel;
}

gboolean PaintBlue(GtkWidget* /*widget*/, cairo_t* cr, gpointer /*data*/) {
  cairo_set_source_rgb(cr, 0, 0, 1);
  cairo_paint(cr);
  return TRUE;
}

// Whatever lies above the video in the window keeps showing while frames
// arrive, and the frames reach the screen around it.
TEST_P(MpvVideoTest, FramesLeaveWhatLiesAboveThePictureAlone) {
  PlayerUnderTest under_test(GetParam());
  GtkWidget* video = under_test.player().VideoWidget();
  GtkWidget* layout = gtk_layout_new(nullptr, nullptr);
  g_object_ref(video);
  gtk_container_remove(GTK_CONTAINER(under_test.window()), video);
  gtk_widget_set_size_request(video, 320, 240);
  gtk_layout_put(GTK_LAYOUT(layout), video, 0, 0);
  g_object_unref(video);
  GtkWidget* cover = gtk_drawing_area_new();
  gtk_widget_set_size_request(cover, 80, 80);
  g_signal_connect(cover, "draw", G_CALLBACK(PaintBlue), nullptr);
  gtk_layout_put(GTK_LAYOUT(layout), cover, 0, 0);
  gtk_container_add(GTK_CONTAINER(under_test.window()), layout);
  gtk_widget_show_all(layout);
  StartPlaying(under_test, "silent.mp4");
  const std::uint64_t frames = under_test.Frames();
  ASSERT_TRUE(PumpUntil([&] { return under_test.Frames() > frames + 10; }, 5s)) << "no frames drawn";

  GtkWidget* window = GTK_WIDGET(under_test.window());
  EXPECT_EQ(ScreenPixel(window, 40, 40), 0x0000FFU) << "the frames covered what lies above them";
  EXPECT_NE(ScreenPixel(window, 200, 150), 0x000000U) << "no picture on the screen";

  gtk_widget_hide(cover);
  const std::uint64_t uncovered = under_test.Frames();
  ASSERT_TRUE(PumpUntil([&] { return under_test.Frames() > uncovered + 10; }, 5s)) << "no frames drawn";
  const guint32 corner = ScreenPixel(window, 40, 40);
  EXPECT_TRUE(corner != 0x0000FFU && corner != 0x000000U) << "the picture did not take the place uncovered";
  EXPECT_NE(ScreenPixel(window, 200, 150), 0x000000U) << "no picture on the screen";
  ExpectNoErrors(under_test);
}

std::string PathName(const ::testing::TestParamInfo<RenderPath>& path) {
  return path.param == RenderPath::kSoftware ? "Software" : "OpenGl";
}

INSTANTIATE_TEST_SUITE_P(RenderPaths, MpvVideoTest,
                         ::testing::Values(RenderPath::kSoftware, RenderPath::kOpenGl), PathName);

// Without a GPU OpenGL runs on the processor, where the software renderer is
// cheaper; the automatic choice must follow what the display offers.
TEST(MpvRenderChoice, AutomaticChoiceFollowsTheDisplaysRenderer) {
  gtk_init(nullptr, nullptr);
  TempFolder media;
  MakeClip(media / "clip.mp4", 2);
  PlayerUnderTest under_test(RenderPath::kAuto);
  under_test.player().SetUrl((media / "clip.mp4").string());
  under_test.player().Play();
  ASSERT_TRUE(under_test.WaitForState(PlayerState::kPlaying));

  const auto renderer = mpv::ProbeGlRenderer(gtk_widget_get_window(GTK_WIDGET(under_test.window())));
  const bool gpu = renderer && !mpv::IsSoftwareRenderer(*renderer);
  EXPECT_EQ(under_test.player().surface().renderer()->path(),
            gpu ? RenderPath::kOpenGl : RenderPath::kSoftware)
      << "renderer: " << renderer.value_or("none");
  EXPECT_EQ(under_test.player().PropertyText("hwdec"), gpu ? "auto-safe" : "no");
  EXPECT_GT(under_test.Frames(), 0u);
}

TEST(MpvRenderChoice, OnlyAMachineWithAGpuDeviceCanHaveHardwareOpenGl) {
  TempFolder devices;
  EXPECT_FALSE(mpv::HasGpuDevice(devices / "none")) << "no device folder";
  std::filesystem::create_directories(devices / "dri" / "by-path");
  EXPECT_FALSE(mpv::HasGpuDevice(devices.path())) << "an empty DRM folder";
  std::ofstream(devices / "dri" / "renderD128").put('\0');
  EXPECT_TRUE(mpv::HasGpuDevice(devices.path()));
  TempFolder nvidia;
  std::ofstream(nvidia / "nvidiactl").put('\0');
  EXPECT_TRUE(mpv::HasGpuDevice(nvidia.path()));
}

TEST(MpvRenderChoice, SoftwareRenderersAreRecognised) {
  EXPECT_TRUE(mpv::IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(mpv::IsSoftwareRenderer("Software Rasterizer"));
  EXPECT_TRUE(mpv::IsSoftwareRenderer("Google SwiftShader"));
  EXPECT_FALSE(mpv::IsSoftwareRenderer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(mpv::IsSoftwareRenderer("NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2"));
}

}  // namespace
}  // namespace taviro::testing
