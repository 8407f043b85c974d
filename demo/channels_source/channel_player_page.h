#pragma once

#include <optional>
#include <string>

#include "channels/channel_list.h"
#include "channels/programme_guide.h"

namespace taviro::demo {

// What "无法播放此频道" stands for: the stream errs or has not started within
// ten seconds, so a dead channel never stays a black screen.
inline constexpr const char* kChannelFailedText = "无法播放此频道";

// The channel page "tv/mivutv.htm?CODE": the stream in a <video> element
// (the web view's own media stack plays HLS, MPEG-TS and radio), its name
// and what the guide says is on. The document's title ends in " - 播放中"
// once its first picture is there and in " - 无法播放" when it failed, for whoever watches it.
// Without a channel: the no-signal page.
std::string RenderChannelPlayerPage(const channels::Channel* channel,
                                    const std::optional<channels::NowAndNext>& on, channels::UnixTime now);

}  // namespace taviro::demo
