# The about box shows the program's icon, embedded as a Qt resource
# (":/kuvito/kuvito.ico"). Until the artwork exists the box shows no icon;
# watching the art folder makes the build pick the icon up once it appears.
set(KUVITO_ABOUT_ICON ${PROJECT_SOURCE_DIR}/art/kuvito.ico)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/art)
if(EXISTS ${KUVITO_ABOUT_ICON})
  qt_add_resources(kuvito_settings kuvito_about_icon
    PREFIX /kuvito
    BASE ${PROJECT_SOURCE_DIR}/art
    FILES ${KUVITO_ABOUT_ICON})
endif()
