# The topic sources of the help file, in the order of its contents: the
# title page (the contents topic) first. Shared by the build and the native
# tests, which read a help file made from the same sources.
set(HELP_TOPIC_NAMES contents.but toolwindow.but taskbar.but preferences.but
                     properties.but watcher.but signal.but throughput.but history.but
                     problems.but profiles.but)
