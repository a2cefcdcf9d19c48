# The publisher's public key, read from a PEM file when the build is configured and compiled
# into update.exe as the BCRYPT_ECCPUBLIC_BLOB that CNG imports. No key, no check: the
# updater then installs what it downloads, as it always did.
set(QUIMBREL_RELEASE_PUBLIC_KEY "" CACHE FILEPATH
    "PEM file of the release signing key's public half (ECDSA P-256); empty builds an updater without a key")

# SubjectPublicKeyInfo of a P-256 key, up to the uncompressed point 04 || X || Y.
set(QB_P256_SPKI_PREFIX "3059301306072a8648ce3d020106082a8648ce3d030107034200")

function(qb_release_key_blob pem out_hex)
  find_program(QB_OPENSSL openssl REQUIRED)
  set(der ${CMAKE_BINARY_DIR}/release_key/public.der)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/release_key)
  execute_process(COMMAND ${QB_OPENSSL} pkey -pubin -in ${pem} -outform DER -out ${der}
                  RESULT_VARIABLE failed ERROR_VARIABLE why)
  if(failed)
    message(FATAL_ERROR "QUIMBREL_RELEASE_PUBLIC_KEY: openssl cannot read ${pem} as a public key: ${why}")
  endif()
  file(READ ${der} hex HEX)
  string(LENGTH "${QB_P256_SPKI_PREFIX}" prefix_length)
  string(SUBSTRING "${hex}" 0 ${prefix_length} prefix)
  string(LENGTH "${hex}" length)
  if(NOT prefix STREQUAL QB_P256_SPKI_PREFIX OR NOT length EQUAL 182)
    message(FATAL_ERROR "QUIMBREL_RELEASE_PUBLIC_KEY: ${pem} is not an ECDSA P-256 public key "
                        "(make one with: tools/release.py keygen)")
  endif()
  string(SUBSTRING "${hex}" ${prefix_length} 2 point_form)
  if(NOT point_form STREQUAL "04")
    message(FATAL_ERROR "QUIMBREL_RELEASE_PUBLIC_KEY: ${pem} holds a compressed point; write it uncompressed")
  endif()
  math(EXPR xy_start "${prefix_length} + 2")
  string(SUBSTRING "${hex}" ${xy_start} 128 xy)
  # BCRYPT_ECDSA_PUBLIC_P256_MAGIC ("ECS1") and a key size of 32 bytes, little-endian.
  set(${out_hex} "4543533120000000${xy}" PARENT_SCOPE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${pem})
endfunction()

# Writes a source defining ReleasePublicKeyBlob() for the given blob (hex, may be empty).
function(qb_release_key_source out_file blob_hex)
  if(blob_hex STREQUAL "")
    set(body "std::span<const unsigned char> ReleasePublicKeyBlob() { return {}; }")
  else()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${blob_hex}")
    set(body "namespace {\nconstexpr unsigned char kBlob[] = {${bytes}};\n}  // namespace\n"
             "std::span<const unsigned char> ReleasePublicKeyBlob() { return kBlob; }")
  endif()
  file(CONFIGURE OUTPUT ${out_file} CONTENT
       "// Made when the build was configured, from QUIMBREL_RELEASE_PUBLIC_KEY.\n#include \"updater/release_key.h\"\n\nnamespace qb {\n${body}\n}  // namespace qb\n"
       @ONLY)
endfunction()

set(QB_RELEASE_KEY_BLOB "")
if(NOT QUIMBREL_RELEASE_PUBLIC_KEY STREQUAL "")
  qb_release_key_blob(${QUIMBREL_RELEASE_PUBLIC_KEY} QB_RELEASE_KEY_BLOB)
endif()
qb_release_key_source(${CMAKE_BINARY_DIR}/release_key/keyed.cpp "${QB_RELEASE_KEY_BLOB}")
qb_release_key_source(${CMAKE_BINARY_DIR}/release_key/unkeyed.cpp "")
