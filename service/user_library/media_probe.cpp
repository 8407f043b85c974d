#include "user_library/media_probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cstdio>
#include <fstream>
#include <memory>

namespace taviro::demo {
namespace {

constexpr int kPosterWidth = 320;

struct InputCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleFreer {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};

using Input = std::unique_ptr<AVFormatContext, InputCloser>;
using Codec = std::unique_ptr<AVCodecContext, CodecFreer>;
using Frame = std::unique_ptr<AVFrame, FrameFreer>;
using Packet = std::unique_ptr<AVPacket, PacketFreer>;

bool KnowsDurationAndSize(const AVFormatContext& input) {
  const int video =
      av_find_best_stream(const_cast<AVFormatContext*>(&input), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  return input.duration > 0 && (video < 0 || input.streams[video]->codecpar->width > 0);
}

// Most containers name duration and picture size in their headers; only
// the others are read further, which costs decoding.
Input OpenInput(const std::string& path, bool headers_may_do) {
  AVFormatContext* context = nullptr;
  if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) return nullptr;
  Input input(context);
  if (headers_may_do && KnowsDurationAndSize(*input)) return input;
  if (avformat_find_stream_info(input.get(), nullptr) < 0) return nullptr;
  return input;
}

Codec OpenDecoder(const AVStream& stream) {
  const AVCodec* decoder = avcodec_find_decoder(stream.codecpar->codec_id);
  if (decoder == nullptr) return nullptr;
  Codec codec(avcodec_alloc_context3(decoder));
  if (!codec || avcodec_parameters_to_context(codec.get(), stream.codecpar) < 0) return nullptr;
  // One frame is wanted: a thread per core would only hold more buffers.
  codec->thread_count = 1;
  if (avcodec_open2(codec.get(), decoder, nullptr) < 0) {
    return nullptr;
  }
  return codec;
}

// The first frame the decoder gives after the seek.
Frame DecodeOneFrame(AVFormatContext& input, AVCodecContext& codec, int stream_index) {
  Packet packet(av_packet_alloc());
  Frame frame(av_frame_alloc());
  constexpr int kPacketLimit = 2000;  // a stream that never yields a picture
  for (int read = 0; read < kPacketLimit && av_read_frame(&input, packet.get()) >= 0; ++read) {
    const bool ours = packet->stream_index == stream_index;
    const bool sent = ours && avcodec_send_packet(&codec, packet.get()) >= 0;
    av_packet_unref(packet.get());
    if (sent && avcodec_receive_frame(&codec, frame.get()) >= 0) return frame;
  }
  avcodec_send_packet(&codec, nullptr);
  if (avcodec_receive_frame(&codec, frame.get()) >= 0) return frame;
  return nullptr;
}

Frame ScaledForJpeg(const AVFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0) return nullptr;
  const int width = kPosterWidth;
  const int height = std::max(2, (frame.height * width / frame.width) & ~1);
  std::unique_ptr<SwsContext, ScaleFreer> scale(
      sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width, height,
                     AV_PIX_FMT_YUVJ420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
  Frame scaled(av_frame_alloc());
  if (!scale || !scaled) return nullptr;
  scaled->format = AV_PIX_FMT_YUVJ420P;
  scaled->width = width;
  scaled->height = height;
  if (av_frame_get_buffer(scaled.get(), 0) < 0) return nullptr;
  sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, scaled->data, scaled->linesize);
  return scaled;
}

bool EncodeJpeg(const AVFrame& frame, const std::string& jpeg_path) {
  const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (encoder == nullptr) return false;
  Codec codec(avcodec_alloc_context3(encoder));
  if (!codec) return false;
  codec->width = frame.width;
  codec->height = frame.height;
  codec->pix_fmt = AV_PIX_FMT_YUVJ420P;
  codec->time_base = {1, 25};
  if (avcodec_open2(codec.get(), encoder, nullptr) < 0) return false;
  Packet packet(av_packet_alloc());
  if (avcodec_send_frame(codec.get(), &frame) < 0 || avcodec_receive_packet(codec.get(), packet.get()) < 0) {
    return false;
  }
  const std::string partial = jpeg_path + ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(packet->data), packet->size);
    if (!out) return false;
  }
  return std::rename(partial.c_str(), jpeg_path.c_str()) == 0;
}

}  // namespace

MediaFacts ProbeMedia(const std::string& path) {
  MediaFacts facts;
  facts.probed = true;
  const Input input = OpenInput(path, true);
  if (!input) return facts;
  if (input->duration > 0) facts.duration_seconds = static_cast<double>(input->duration) / AV_TIME_BASE;
  const int video = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video >= 0) {
    facts.width = input->streams[video]->codecpar->width;
    facts.height = input->streams[video]->codecpar->height;
  }
  return facts;
}

bool WritePosterFrame(const std::string& path, double duration_seconds, const std::string& jpeg_path) {
  const Input input = OpenInput(path, false);
  if (!input) return false;
  const int video = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video < 0) return false;
  const Codec codec = OpenDecoder(*input->streams[video]);
  if (!codec) return false;
  if (duration_seconds > 0) {
    const auto target = static_cast<std::int64_t>(duration_seconds * 0.1 * AV_TIME_BASE);
    // A file that cannot seek gives its first frame instead.
    av_seek_frame(input.get(), -1, target, AVSEEK_FLAG_BACKWARD);
  }
  const Frame frame = DecodeOneFrame(*input, *codec, video);
  if (!frame) return false;
  const Frame scaled = ScaledForJpeg(*frame);
  return scaled && EncodeJpeg(*scaled, jpeg_path);
}

}  // namespace taviro::demo

namespace taviro::demo {
void QuietenMediaDecoders(bool debug) { av_log_set_level(debug ? AV_LOG_WARNING : AV_LOG_QUIET); }
}  // namespace taviro::demo
