#include "linux/helper/programme_remux.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

#include <memory>
#include <vector>

namespace taviro::helper {
namespace {

struct InputDeleter {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

struct OutputDeleter {
  void operator()(AVFormatContext* context) const {
    if (context->pb) avio_closep(&context->pb);
    avformat_free_context(context);
  }
};

struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

struct DictionaryDeleter {
  void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};

// libavformat opens files by name: the descriptor's own name reaches the
// very file the folder's descriptor opened, never a link planted since.
std::string DescriptorPath(int fd) { return "file:/proc/self/fd/" + std::to_string(fd); }

std::string AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

int Interrupted(void* opaque) { return (*static_cast<const std::function<bool()>*>(opaque))() ? 1 : 0; }

bool Kept(const AVCodecParameters& codec) {
  const bool media = codec.codec_type == AVMEDIA_TYPE_VIDEO || codec.codec_type == AVMEDIA_TYPE_AUDIO ||
                     codec.codec_type == AVMEDIA_TYPE_SUBTITLE;
  return media && codec.codec_id != AV_CODEC_ID_NONE;
}

SavedContainer ContainerFor(const AVFormatContext& input) {
  const AVOutputFormat* mp4 = av_guess_format("mp4", nullptr, nullptr);
  for (unsigned i = 0; i < input.nb_streams; ++i) {
    const AVCodecParameters& codec = *input.streams[i]->codecpar;
    if (Kept(codec) && avformat_query_codec(mp4, codec.codec_id, FF_COMPLIANCE_NORMAL) != 1) {
      return SavedContainer::kMatroska;
    }
  }
  return SavedContainer::kMp4;
}

// Timestamps that jump back (a discontinuity between segments) are moved
// on, so that each stream's stay increasing as every container wants.
class TimestampMender {
 public:
  explicit TimestampMender(std::size_t streams) : offset_(streams, 0), next_(streams, AV_NOPTS_VALUE) {}

  void Mend(AVPacket& packet) {
    const auto index = static_cast<std::size_t>(packet.stream_index);
    if (packet.dts == AV_NOPTS_VALUE) return;
    if (next_[index] != AV_NOPTS_VALUE && packet.dts + offset_[index] < next_[index]) {
      offset_[index] = next_[index] - packet.dts;
    }
    packet.dts += offset_[index];
    if (packet.pts != AV_NOPTS_VALUE) packet.pts += offset_[index];
    next_[index] = packet.dts + std::max<std::int64_t>(packet.duration, 1);
  }

 private:
  std::vector<std::int64_t> offset_;
  std::vector<std::int64_t> next_;
};

}  // namespace

const char* SavedExtension(SavedContainer container) {
  return container == SavedContainer::kMp4 ? ".mp4" : ".mkv";
}

namespace {

using Input = std::unique_ptr<AVFormatContext, InputDeleter>;

// A demuxer on one stretch of the partial file; it reads that local file
// alone and follows nothing it names.
Input OpenStretch(int fd, const RemuxSource& source, const std::function<bool()>& stopped,
                  std::string& error) {
  AVFormatContext* opened = avformat_alloc_context();
  if (!opened) return nullptr;
  opened->interrupt_callback = {&Interrupted, const_cast<std::function<bool()>*>(&stopped)};
  AVDictionary* raw_options = nullptr;
  av_dict_set(&raw_options, "protocol_whitelist", "file,subfile", 0);
  std::unique_ptr<AVDictionary, DictionaryDeleter> options(raw_options);
  const AVInputFormat* format = av_find_input_format(source.fragmented_mp4 ? "mp4" : "mpegts");
  std::string path = DescriptorPath(fd);
  if (source.begin != 0 || source.end != 0) {
    path = "subfile,,start," + std::to_string(source.begin) + ",end," + std::to_string(source.end) +
           ",,:" + path;
  }
  raw_options = options.release();
  int code = avformat_open_input(&opened, path.c_str(), format, &raw_options);
  options.reset(raw_options);
  if (code < 0) {
    error = "cannot read the segments: " + AvError(code);
    return nullptr;
  }
  Input input(opened);
  if ((code = avformat_find_stream_info(input.get(), nullptr)) < 0) {
    error = "cannot read the segments: " + AvError(code);
    return nullptr;
  }
  return input;
}

SavedContainer ContainerFor(const std::vector<Input>& inputs) {
  for (const Input& input : inputs) {
    if (ContainerFor(*input) == SavedContainer::kMatroska) return SavedContainer::kMatroska;
  }
  return SavedContainer::kMp4;
}

// One demuxer's next packet, kept until it is its turn.
struct Reader {
  AVFormatContext* input;
  std::vector<int> mapping;  // input stream -> output stream, -1 for none
  std::unique_ptr<AVPacket, PacketDeleter> packet{av_packet_alloc()};
  bool held = false;
  bool ended = false;

  // Reads up to the next packet worth keeping; false on an error.
  bool Fill(int& code) {
    while (!held && !ended) {
      code = av_read_frame(input, packet.get());
      if (code == AVERROR_EOF) {
        ended = true;
      } else if (code < 0) {
        return false;
      } else if (mapping[static_cast<std::size_t>(packet->stream_index)] < 0) {
        av_packet_unref(packet.get());
      } else {
        held = true;
      }
    }
    return true;
  }
  // The held packet's time, for taking the streams in turn.
  std::int64_t Time() const {
    if (packet->dts == AV_NOPTS_VALUE) return INT64_MIN;
    return av_rescale_q(packet->dts, input->streams[packet->stream_index]->time_base,
                        AVRational{1, AV_TIME_BASE});
  }
};

}  // namespace

std::optional<SavedContainer> RemuxProgramme(int input_fd, const std::vector<RemuxSource>& sources,
                                             const std::function<int(SavedContainer)>& create_output,
                                             const std::function<bool()>& stopped, bool debug,
                                             std::string& error) {
  // libavformat's own remarks go to stderr, where only a debug run prints.
  av_log_set_level(debug ? AV_LOG_WARNING : AV_LOG_QUIET);
  std::vector<Input> inputs;
  for (const RemuxSource& source : sources) {
    inputs.push_back(OpenStretch(input_fd, source, stopped, error));
    if (!inputs.back()) return std::nullopt;
  }
  const SavedContainer container = ContainerFor(inputs);
  const int output_fd = create_output(container);
  if (output_fd < 0) {
    error = "cannot write to the save folder";
    return std::nullopt;
  }
  AVFormatContext* made = nullptr;
  const std::string output_path = DescriptorPath(output_fd);
  avformat_alloc_output_context2(&made, nullptr, container == SavedContainer::kMp4 ? "mp4" : "matroska",
                                 output_path.c_str());
  if (!made) return std::nullopt;
  const std::unique_ptr<AVFormatContext, OutputDeleter> output(made);
  output->interrupt_callback = inputs.front()->interrupt_callback;
  std::vector<Reader> readers;
  // The programme starts at 0, as a file does, not where its broadcast
  // clock stood: a container would otherwise open with that much nothing.
  // Picture and sound share that clock, so the earliest start counts.
  std::int64_t start = INT64_MAX;
  for (const Input& input : inputs) {
    Reader& reader = readers.emplace_back(Reader{input.get(), std::vector<int>(input->nb_streams, -1)});
    if (!reader.packet) return std::nullopt;
    if (input->start_time != AV_NOPTS_VALUE) start = std::min(start, input->start_time);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
      const AVStream& from = *input->streams[i];
      if (!Kept(*from.codecpar)) continue;
      AVStream* to = avformat_new_stream(output.get(), nullptr);
      if (!to || avcodec_parameters_copy(to->codecpar, from.codecpar) < 0) return std::nullopt;
      to->codecpar->codec_tag = 0;
      to->time_base = from.time_base;
      reader.mapping[i] = to->index;
    }
  }
  if (start == INT64_MAX) start = 0;
  if (output->nb_streams == 0) {
    error = "the segments hold no audio or video";
    return std::nullopt;
  }
  int code =
      avio_open2(&output->pb, output_path.c_str(), AVIO_FLAG_WRITE, &output->interrupt_callback, nullptr);
  if (code < 0) {
    error = "cannot write the saved file: " + AvError(code);
    return std::nullopt;
  }
  AVDictionary* muxer_options = nullptr;
  if (container == SavedContainer::kMp4) av_dict_set(&muxer_options, "movflags", "+faststart", 0);
  code = avformat_write_header(output.get(), &muxer_options);
  av_dict_free(&muxer_options);
  if (code < 0) {
    error = "cannot write the saved file: " + AvError(code);
    return std::nullopt;
  }
  TimestampMender mender(output->nb_streams);
  for (;;) {
    // The earliest packet of all the demuxers goes next, so that the
    // muxer's interleaving never holds a whole stream.
    Reader* next = nullptr;
    for (Reader& reader : readers) {
      if (!reader.Fill(code)) {
        error = stopped() ? "stopped" : "cannot read the segments: " + AvError(code);
        return std::nullopt;
      }
      if (reader.held && (!next || reader.Time() < next->Time())) next = &reader;
    }
    if (!next) break;
    AVPacket& packet = *next->packet;
    next->held = false;
    const int to = next->mapping[static_cast<std::size_t>(packet.stream_index)];
    const AVRational from = next->input->streams[packet.stream_index]->time_base;
    const std::int64_t shift = av_rescale_q(start, AVRational{1, AV_TIME_BASE}, from);
    if (packet.pts != AV_NOPTS_VALUE) packet.pts -= shift;
    if (packet.dts != AV_NOPTS_VALUE) packet.dts -= shift;
    av_packet_rescale_ts(&packet, from, output->streams[to]->time_base);
    packet.stream_index = to;
    packet.pos = -1;
    mender.Mend(packet);
    if ((code = av_interleaved_write_frame(output.get(), &packet)) < 0) {
      error = "cannot write the saved file: " + AvError(code);
      return std::nullopt;
    }
  }
  if (stopped()) {
    error = "stopped";
    return std::nullopt;
  }
  if ((code = av_write_trailer(output.get())) < 0) {
    error = "cannot write the saved file: " + AvError(code);
    return std::nullopt;
  }
  return container;
}

}  // namespace taviro::helper
