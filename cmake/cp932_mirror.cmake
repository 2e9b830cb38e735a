# Clang (Debian's, or emscripten's em++) has no -fexec-charset for code page
# 932: it writes the UTF-8 of the sources into the program as it is. So a
# clang build compiles a mirrored copy of every source and header instead,
# made by tools/cp932_mirror: the same files under <build>/cp932/ with the
# texts of their literals already written as code page 932 escapes. Editing
# a source remakes its copy, and whatever includes it is compiled again.

# velkor_mirror_literals(): called once, after every target is defined.
# Points the sources and include folders of every target of the project at
# the copies, and makes each target wait for them.
function(velkor_mirror_literals)
  set(mirror ${PROJECT_BINARY_DIR}/cp932)

  # The tool runs on the machine that builds, so a cross build (emscripten)
  # compiles it with that machine's own compiler.
  if(CMAKE_CROSSCOMPILING)
    find_program(VELKOR_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  else()
    set(VELKOR_HOST_CXX ${CMAKE_CXX_COMPILER})
  endif()
  set(tool ${PROJECT_BINARY_DIR}/cp932_mirror${CMAKE_HOST_EXECUTABLE_SUFFIX})
  set(tool_sources
    ${PROJECT_SOURCE_DIR}/tools/cp932_mirror_main.cpp
    ${PROJECT_SOURCE_DIR}/tools/cp932_mirror.cpp
    ${PROJECT_SOURCE_DIR}/platform/charset_posix.cpp)
  add_custom_command(OUTPUT ${tool}
    COMMAND ${VELKOR_HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR} -o ${tool} ${tool_sources}
    DEPENDS ${tool_sources} ${PROJECT_SOURCE_DIR}/tools/cp932_mirror.h ${PROJECT_SOURCE_DIR}/platform/charset.h
    COMMENT "Building cp932_mirror, which writes the sources' copies for clang"
    VERBATIM)

  # Every source and header of the project's folders, each a copy of its own.
  get_directory_property(folders DIRECTORY ${PROJECT_SOURCE_DIR} SUBDIRECTORIES)
  set(copies)
  foreach(folder IN LISTS folders)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${folder} NORMALIZE ours)
    if(NOT ours)
      continue()  # GoogleTest's sources, where the build compiles them
    endif()
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
    foreach(file IN LISTS files)
      file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${file})
      add_custom_command(OUTPUT ${mirror}/${relative}
        COMMAND ${tool} ${file} ${mirror}/${relative}
        DEPENDS ${file} ${tool}
        VERBATIM)
      list(APPEND copies ${mirror}/${relative})
    endforeach()
  endforeach()
  add_custom_target(velkor_cp932_copies DEPENDS ${copies})

  # Each target of the project's folders compiles the copies and finds its
  # headers among them.
  set(pending ${folders})
  while(pending)
    list(POP_FRONT pending folder)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${folder} NORMALIZE ours)
    if(NOT ours)
      continue()
    endif()
    get_directory_property(inner DIRECTORY ${folder} SUBDIRECTORIES)
    list(APPEND pending ${inner})
    get_directory_property(targets DIRECTORY ${folder} BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        continue()
      endif()
      _velkor_mirrored_sources(${target} ${folder} ${mirror})
      foreach(property INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES)
        get_target_property(dirs ${target} ${property})
        if(dirs)
          set(swapped)
          foreach(dir IN LISTS dirs)
            if(dir STREQUAL PROJECT_SOURCE_DIR)
              set(dir ${mirror})
            endif()
            list(APPEND swapped ${dir})
          endforeach()
          set_property(TARGET ${target} PROPERTY ${property} ${swapped})
        endif()
      endforeach()
      add_dependencies(${target} velkor_cp932_copies)
    endforeach()
  endwhile()
endfunction()

# The target's sources, those of the project's folders swapped for their
# copies; what the build itself generates stays.
function(_velkor_mirrored_sources target folder mirror)
  get_target_property(sources ${target} SOURCES)
  set(mirrored)
  foreach(source IN LISTS sources)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} NORMALIZE OUTPUT_VARIABLE path)
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${path} NORMALIZE ours)
    cmake_path(IS_PREFIX PROJECT_BINARY_DIR ${path} NORMALIZE generated)
    if(ours AND NOT generated AND NOT source MATCHES "^\\$<")
      file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${path})
      list(APPEND mirrored ${mirror}/${relative})
    else()
      list(APPEND mirrored ${source})
    endif()
  endforeach()
  set_property(TARGET ${target} PROPERTY SOURCES ${mirrored})
endfunction()
