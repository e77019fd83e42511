# The layers of Marvist and the rule between them: a folder includes headers
# of its own layer and of the layers below it, never of one above.
#
#   base                     layout engine, record files, text, storage, matrices, diagnostics
#   stats, nsca, plot        the analyses: plain result values, nothing printed or reported;
#   biplot                   and the geometry of the joint plots as pictures
#   analysis                 the job: driver, input files, results, reports
#   listing, svg, export     writers over the results: the listing and its plots as SVG; the
#                            results as CSV files with their data package
#   app/batch                job set-up without windows: set-up files, the job form's
#                            read-back rules, the batch run of one set-up file
#   import                   CSV tables made into jobs (written through app/batch)
#   app                      front ends: desktop logic, Qt layer, batch runner
#
# Each layer is one library that links the one below it (CMakeLists.txt at
# the top, app/CMakeLists.txt); marvist_check_layers() fails the
# configuration, and the test "layers" fails the suite, when a source
# includes a folder above its own.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
endif()

# The folders whose headers each folder may include.
set(MARVIST_LAYER_FOLDERS base stats nsca plot biplot analysis listing svg export app/batch import app)
set(MARVIST_LAYER_base base)
set(MARVIST_LAYER_stats base stats nsca plot biplot)
set(MARVIST_LAYER_nsca ${MARVIST_LAYER_stats})
set(MARVIST_LAYER_plot ${MARVIST_LAYER_stats})
set(MARVIST_LAYER_biplot ${MARVIST_LAYER_stats})
set(MARVIST_LAYER_analysis ${MARVIST_LAYER_stats} analysis)
set(MARVIST_LAYER_listing ${MARVIST_LAYER_analysis} listing svg)
set(MARVIST_LAYER_svg ${MARVIST_LAYER_listing})
set(MARVIST_LAYER_export ${MARVIST_LAYER_analysis} export)
set(MARVIST_LAYER_app/batch ${MARVIST_LAYER_listing} export app/batch)
set(MARVIST_LAYER_import ${MARVIST_LAYER_app/batch} import)
set(MARVIST_LAYER_app ${MARVIST_LAYER_listing} export import app)

# Checks every header and source of each layer folder (a file belongs to the
# deepest folder of the list that holds it); reports each offending include
# and fails when there is one.
function(marvist_check_layers source_dir)
  set(offences "")
  foreach(folder ${MARVIST_LAYER_FOLDERS})
    file(GLOB_RECURSE files ${source_dir}/${folder}/*.h ${source_dir}/${folder}/*.cpp)
    foreach(file ${files})
      file(RELATIVE_PATH where ${source_dir} ${file})
      # A file of app/batch is checked as app/batch only.
      if(folder STREQUAL "app" AND where MATCHES "^app/batch/")
        continue()
      endif()
      file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
      foreach(line ${includes})
        string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" included "${line}")
        set(allowed FALSE)
        foreach(lower ${MARVIST_LAYER_${folder}})
          if(included MATCHES "^${lower}/")
            set(allowed TRUE)
          endif()
        endforeach()
        if(NOT allowed)
          string(APPEND offences "\n  ${where}: ${line}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(offences)
    message(FATAL_ERROR "A folder includes a layer above its own:${offences}")
  endif()
endfunction()

# Run as a script (cmake -DSOURCE_DIR=... -P MarvistLayers.cmake): the check alone.
if(CMAKE_SCRIPT_MODE_FILE AND SOURCE_DIR)
  marvist_check_layers(${SOURCE_DIR})
endif()
