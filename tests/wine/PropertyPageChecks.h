// The filter's property page inside Wine, in two hosts: a frame and page site
// of our own driven step by step, and Wine's own OleCreatePropertyFrame.
#pragma once

// [main thread] Our own frame: page info, connection, activation twice, the
// notification table, Show/Move, two pages at once and the window class.
void check_page_in_own_frame();
// [main thread] Wine's property frame on a thread of its own, closed by the
// test once the editor's window shows inside it.
void check_page_in_ole_frame();
