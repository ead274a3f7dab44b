# The about box shows the program's icon, the checked-in art/kuvito.ico,
# embedded as a Qt resource (":/kuvito/kuvito.ico"). Changing the icon
# rebuilds the resource.
qt_add_resources(kuvito_settings kuvito_about_icon
  PREFIX /kuvito
  BASE ${PROJECT_SOURCE_DIR}/art
  FILES ${PROJECT_SOURCE_DIR}/art/kuvito.ico)
