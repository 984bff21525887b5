# The layouts' binary values ({@path} in a layout: a picture, the skin stream) are kept as
# RCDATA resources of the program, one per file, named from the path: images/banner.bmp is
# IMAGES_BANNER_BMP. The generated layout names the resource ({@IMAGES_BANNER_BMP}), and the
# form reader takes the bytes from it where the program has them mapped.

# The resource name of the layout binary `path`.
function(velmo_layout_binary_name path out)
  string(TOUPPER "${path}" name)
  string(REGEX REPLACE "[^A-Z0-9]" "_" name "${name}")
  set(${out} "${name}" PARENT_SCOPE)
endfunction()

# The paths that the layout file `layout` refers to with {@path}.
function(velmo_layout_binary_paths layout out)
  file(READ "${layout}" text)
  # Values only: a comment may show the notation.
  string(REGEX MATCHALL "=[ \t]*{@[^}]+}" refs "${text}")
  list(REMOVE_DUPLICATES refs)
  set(paths)
  foreach(ref IN LISTS refs)
    string(REGEX REPLACE "^=[ \t]*{@(.*)}$" "\\1" path "${ref}")
    list(APPEND paths "${path}")
  endforeach()
  set(${out} "${paths}" PARENT_SCOPE)
endfunction()
