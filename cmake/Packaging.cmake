# The Debian package: `make package` writes build/kivra_<version>_<architecture>.deb, which
# `apt install ./build/kivra_*.deb` installs together with everything KIVRA needs at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivra)
set(CPACK_PACKAGE_VENDOR "The KIVRA developers")
set(KIVRA_PACKAGE_MAINTAINER "The KIVRA developers <kivra@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KIVRA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "toolkit for science teaching: sound analyser, spectrum, video and images")
# The long description; the summary above is its first line.
set(CPACK_PACKAGE_DESCRIPTION
    "KIVRA turns a microphone, a loudspeaker, a webcam and cheap sensors into
laboratory instruments for the classroom, all in one window: a sound analyser
that reads period and frequency off a selected stretch of a WAV or MP3 file, an
FFT spectrum, an audio recorder with programmed start and stop times, webcam
capture with time-lapse, a video player that steps frame by frame, and an
image processor with batch jobs. Interface in English, Chinese Traditional
and Chinese Simplified.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)

# The libraries the program links (Qt and its multimedia with the GStreamer back end) are found
# by dpkg-shlibdeps. What it cannot see is named here: the libraries opened on first use (FFmpeg,
# FreeImage, FluidSynth: the packages that hold the files the build found), Qt's window-system
# plugins, the GStreamer plugins behind the media player, the General MIDI SoundFont, the lame
# program that encodes and decodes MP3, and the fonts that draw the Chinese captions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(lazy_packages "")
find_program(DPKG_QUERY dpkg-query)
foreach(library ${KIVRA_LAZY_LIBRARIES})
  get_filename_component(real ${library} REALPATH)
  set(package "")
  if(DPKG_QUERY)
    execute_process(COMMAND ${DPKG_QUERY} -S ${real} OUTPUT_VARIABLE owner ERROR_QUIET)
    string(REGEX MATCH "^[^:]+" package "${owner}")
  endif()
  if(package)
    string(APPEND lazy_packages "${package}, ")
  else()
    message(WARNING "no Debian package holds ${real}: a package built here will not depend on it")
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "${lazy_packages}qt6-qpa-plugins, \
gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, \
gstreamer1.0-pulseaudio, timgm6mb-soundfont, lame, fonts-noto-cjk")
# A sound server for recording and playback; the programs the menus start when present.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pipewire-pulse | pulseaudio")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
    "pavucontrol, gnome-sound-recorder | audacity, cheese | guvcview, hardinfo")

include(CPack)
