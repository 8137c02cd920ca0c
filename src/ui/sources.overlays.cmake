# Panels that close by their control, an outside tap or Escape; rich-text pages.
target_sources(vimora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overlay_stack.cpp ${CMAKE_CURRENT_LIST_DIR}/overlay_stack.h
  ${CMAKE_CURRENT_LIST_DIR}/rich_text_view.cpp ${CMAKE_CURRENT_LIST_DIR}/rich_text_view.h
)
