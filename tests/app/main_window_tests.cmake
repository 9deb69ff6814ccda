# The main window, the new-database dialog and index runs from the window.
trovex_add_test(app_main
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/main_window_fixture.h
          ${CMAKE_CURRENT_LIST_DIR}/main_window_fixture.cpp
  LIBS trovex_app)
