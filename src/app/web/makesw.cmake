# Writes the service worker (sw.js) from its template, its version the hash of the site's files:
# a new build of any of them is a new version, which replaces the cached site at the next visit.
# Usage: cmake -DSITE=<site folder> -DTEMPLATE=<sw.js.in> -P makesw.cmake
set(hashes "")
foreach(name index.html korvane.js korvane.wasm korvane.data manifest.webmanifest icon-192.png icon-512.png)
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 KA_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
