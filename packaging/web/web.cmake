# The web build. It links the Allegro with the web platform that
# scripts/web.sh builds, under the name of the Linux build's pkg-config target
# so that every link line stays the same.
set(BROX_ALLEGRO_PREFIX "" CACHE PATH "Where scripts/web.sh installed the web Allegro")
if(NOT EXISTS "${BROX_ALLEGRO_PREFIX}/lib/liballeg.a")
  message(FATAL_ERROR "No web Allegro in '${BROX_ALLEGRO_PREFIX}': build with scripts/web.sh")
endif()
add_library(PkgConfig::ALLEGRO STATIC IMPORTED)
set_target_properties(PkgConfig::ALLEGRO PROPERTIES
  IMPORTED_LOCATION ${BROX_ALLEGRO_PREFIX}/lib/liballeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${BROX_ALLEGRO_PREFIX}/include)
