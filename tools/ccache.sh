# Sourced by the build scripts: compile through ccache when it is installed, with its store
# outside the clone (ccache's own default, ~/.cache/ccache), so that a second clone on the
# same machine compiles only what differs. Paths below the clone are hashed relative to it.
# Sets ccache_options for cmake's configure step (empty without ccache).
ccache_options=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
  # The build folder is not hashed (debug information may name the clone that filled the
  # cache first); the sources are.
  export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
  ccache_options=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
