# cmake -DCLASS=<kind> -DINPUT=<picture file> -DOUTPUT=<blob> -P LayoutPicture.cmake
# Writes a layout picture: one byte holding the length of the class name, the
# class name, then the picture file unchanged (a BMP file for TBitmap, a PNG
# stream for TPngGraphic).
string(LENGTH "${CLASS}" _length)
if(_length LESS 1 OR _length GREATER 63)
  message(FATAL_ERROR "bad picture class name '${CLASS}'")
endif()
# Lengths from 1 to 63 are printable or control characters other than NUL,
# so the prefix can be written as text.
string(ASCII ${_length} _lengthByte)
file(WRITE "${OUTPUT}.prefix" "${_lengthByte}${CLASS}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E cat "${OUTPUT}.prefix" "${INPUT}"
                OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE _result)
file(REMOVE "${OUTPUT}.prefix")
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "cannot write ${OUTPUT}")
endif()
