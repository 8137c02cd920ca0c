# Text entry, tables, search, popovers and navigation bars.
target_sources(vimora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/entry_theme.cpp ${CMAKE_CURRENT_LIST_DIR}/entry_theme.h
  ${CMAKE_CURRENT_LIST_DIR}/text_editor.cpp ${CMAKE_CURRENT_LIST_DIR}/text_editor.h
  ${CMAKE_CURRENT_LIST_DIR}/text_entry.cpp ${CMAKE_CURRENT_LIST_DIR}/text_entry.h
  ${CMAKE_CURRENT_LIST_DIR}/text_field.cpp ${CMAKE_CURRENT_LIST_DIR}/text_field.h
  ${CMAKE_CURRENT_LIST_DIR}/text_view.cpp ${CMAKE_CURRENT_LIST_DIR}/text_view.h
  ${CMAKE_CURRENT_LIST_DIR}/table_view_cell.cpp ${CMAKE_CURRENT_LIST_DIR}/table_view_cell.h
  ${CMAKE_CURRENT_LIST_DIR}/table_view.cpp ${CMAKE_CURRENT_LIST_DIR}/table_view.h
  ${CMAKE_CURRENT_LIST_DIR}/search_bar.cpp ${CMAKE_CURRENT_LIST_DIR}/search_bar.h
  ${CMAKE_CURRENT_LIST_DIR}/popover_panel.cpp ${CMAKE_CURRENT_LIST_DIR}/popover_panel.h
  ${CMAKE_CURRENT_LIST_DIR}/popover.cpp ${CMAKE_CURRENT_LIST_DIR}/popover.h
)
target_sources(vimora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bar_button_item.cpp ${CMAKE_CURRENT_LIST_DIR}/bar_button_item.h
  ${CMAKE_CURRENT_LIST_DIR}/navigation_item.cpp ${CMAKE_CURRENT_LIST_DIR}/navigation_item.h
  ${CMAKE_CURRENT_LIST_DIR}/navigation_bar.cpp ${CMAKE_CURRENT_LIST_DIR}/navigation_bar.h
  ${CMAKE_CURRENT_LIST_DIR}/toolbar.cpp ${CMAKE_CURRENT_LIST_DIR}/toolbar.h
  ${CMAKE_CURRENT_LIST_DIR}/navigation_screen.cpp ${CMAKE_CURRENT_LIST_DIR}/navigation_screen.h
  ${CMAKE_CURRENT_LIST_DIR}/navigation_controller.cpp ${CMAKE_CURRENT_LIST_DIR}/navigation_controller.h
)
