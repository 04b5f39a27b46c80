# Shared by tools/run.sh and tools/screenshot.sh (sourced, from the project root).

# Installs what is needed and builds the window program and the picture service.
build_program() {
  tools/install-deps.sh
  cmake --preset default >/dev/null
  cmake --build --preset default --target biaobai biaobai-service
}

# Starts the bundled picture service on the window's default address, stops it
# when the calling script ends, and waits until it answers.
start_picture_service() {
  build/default/service/biaobai-service --listen 127.0.0.1:8936 &
  picture_service=$!
  trap 'kill $picture_service 2>/dev/null; wait $picture_service 2>/dev/null' EXIT
  for _ in $(seq 100); do
    curl -sf -o /dev/null http://127.0.0.1:8936/healthz && return
    sleep 0.1
  done
}
