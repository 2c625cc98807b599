# The video types the desktop offers the program for. The MIME types are the shared MIME
# database's names with the aliases that older databases and other desktops still use; the
# extensions are those a shell completes for a video argument. Raw H.264 and HEVC streams have
# no MIME type of their own, so only their extensions are here.
set(CLIPMINT_VIDEO_MIME_TYPES
    video/x-msvideo video/avi video/msvideo video/vnd.avi        # AVI
    video/mp4 video/x-m4v                                        # MP4, M4V
    video/quicktime                                              # QuickTime
    video/x-matroska                                             # Matroska
    video/webm                                                   # WebM
    video/mp2t                                                   # MPEG-TS, M2TS, MTS
    video/mpeg video/x-mpeg video/x-mpeg2 video/mpeg-system      # MPEG-PS, DVD VOB
    video/x-mpeg-system
    video/x-flv                                                  # Flash video
    video/x-ms-wmv video/x-ms-asf application/vnd.ms-asf         # WMV, ASF
    video/ogg video/x-ogg video/x-theora+ogg video/x-ogm+ogg     # Ogg
    video/3gpp video/3gpp2                                       # 3GP, 3G2
)
set(CLIPMINT_VIDEO_EXTENSIONS
    avi divx mp4 m4v mov qt mkv webm ts m2t m2ts mts mpg mpeg mpe m2v vob mod flv f4v wmv asf
    ogv ogg ogm 3gp 3g2 h264 264 h265 hevc 265
)
