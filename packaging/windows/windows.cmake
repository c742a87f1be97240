# The Windows build. It links the static, patched Allegro that
# scripts/windows.sh builds, under the name of the Linux build's pkg-config
# target so that every link line stays the same.
set(BROX_ALLEGRO_PREFIX "" CACHE PATH "Where scripts/windows.sh installed the Windows Allegro")
if(NOT EXISTS "${BROX_ALLEGRO_PREFIX}/lib/liballeg.a")
  message(FATAL_ERROR "No Windows Allegro in '${BROX_ALLEGRO_PREFIX}': build with scripts/windows.sh")
endif()
add_library(PkgConfig::ALLEGRO STATIC IMPORTED)
set_target_properties(PkgConfig::ALLEGRO PROPERTIES
  IMPORTED_LOCATION ${BROX_ALLEGRO_PREFIX}/lib/liballeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${BROX_ALLEGRO_PREFIX}/include
  INTERFACE_COMPILE_DEFINITIONS ALLEGRO_STATICLINK
  INTERFACE_LINK_LIBRARIES "dinput;ddraw;dxguid;dsound;winmm;ole32;comdlg32;gdi32;user32;kernel32")

# The programs carry their C and C++ runtimes: they need only Windows' own DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)

# M_PI and the other constants, which glibc's headers always declare.
add_compile_definitions(_USE_MATH_DEFINES)
