# The page as an app on a phone or tablet: its touch controls, the web app
# manifest with the fighter drawn at 192 and 512 pixels, and the service
# worker that keeps the whole site for offline play. The worker is written
# last, naming every file of the site and a version that is the hash of them
# all, so that each build that changes a file replaces the one before.
set(BROX_APP_FILES touch.js manifest.json)
set(BROX_APP_OUTPUTS)
foreach(file ${BROX_APP_FILES})
  add_custom_command(OUTPUT ${BROX_WEB_SITE}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${BROX_WEB_SITE}/${file}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  list(APPEND BROX_APP_OUTPUTS ${BROX_WEB_SITE}/${file})
endforeach()
foreach(size 192 512)
  add_custom_command(OUTPUT ${BROX_WEB_SITE}/icon-${size}.png
    COMMAND ${BROX_HOST_PICBUILDER} --icon ${size} ${BROX_WEB_SITE}/icon-${size}.png
    DEPENDS ${BROX_HOST_PICBUILDER}
    COMMENT "Drawing the app's ${size} x ${size} icon")
  list(APPEND BROX_APP_OUTPUTS ${BROX_WEB_SITE}/icon-${size}.png)
endforeach()
add_custom_target(app ALL DEPENDS ${BROX_APP_OUTPUTS})

# Runs at every build, after everything else is in the site; it rewrites
# sw.js only when a file has changed.
add_custom_target(serviceworker ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${BROX_WEB_SITE} -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/sw.js.in
          -P ${CMAKE_CURRENT_SOURCE_DIR}/serviceWorker.cmake
  COMMENT "Writing the service worker")
add_dependencies(serviceworker brox site app)
