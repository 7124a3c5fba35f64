# The environment of every Wine start of the project (sourced by the Wine
# scripts): a 32-bit prefix, no debug output, no host menu entries written
# for shell links, no .NET or HTML engine prompts.
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
