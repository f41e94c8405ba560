# Copies the player's scripts, WebAssembly modules and licences from the npm
# package FROM into the folder TO. Without the package the build goes on with
# a warning: pages then show the message that the player is missing.
if(NOT EXISTS "${FROM}/ruffle.js")
  message(WARNING "Flash player package missing in ${FROM}; run scripts/deps.sh")
  return()
endif()
file(GLOB parts "${FROM}/*.js" "${FROM}/*.wasm" "${FROM}/LICENSE*")
file(MAKE_DIRECTORY "${TO}")
file(COPY ${parts} DESTINATION "${TO}")
