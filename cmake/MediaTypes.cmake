# The media types the program opens: the desktop file offers it for them and
# the media controls announce them. Only formats libmpv plays, by the names
# the desktop gives such files (gui.media_types plays a sample of each).
set(TAVIRO_MEDIA_TYPES
  video/mp4 video/x-m4v video/x-matroska video/webm video/x-msvideo video/avi video/quicktime
  video/mpeg video/mp2t video/x-flv video/x-ms-wmv video/x-ms-asf video/3gpp video/3gpp2 video/ogg
  video/x-ogm+ogg video/dv video/vnd.rn-realvideo application/vnd.rn-realmedia
  audio/mpeg audio/mp4 audio/x-m4a audio/aac audio/flac audio/x-flac audio/ogg audio/x-vorbis+ogg
  audio/x-opus+ogg audio/wav audio/x-wav audio/x-ms-wma audio/x-matroska
  audio/vnd.rn-realaudio)
