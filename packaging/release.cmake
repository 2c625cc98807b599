# The release this source is: the newest entry of packaging/changelog, which has to be for the
# version of project(). It gives the release's day, which the software centre's metadata, the
# manual pages and the copyright line of --version carry, and the package's maintainer.
file(READ ${CMAKE_CURRENT_LIST_DIR}/changelog clipmint_changelog)
if(NOT clipmint_changelog MATCHES "^clipmint \\(([^)]+)\\)")
    message(FATAL_ERROR "packaging/changelog does not start with an entry for clipmint")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The newest entry of packaging/changelog is for version "
                        "${CMAKE_MATCH_1}: add one for ${PROJECT_VERSION}")
endif()
if(NOT clipmint_changelog MATCHES
        "\n -- ([^\n]+>)  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "The newest entry of packaging/changelog has no signature line")
endif()
set(CLIPMINT_MAINTAINER "${CMAKE_MATCH_1}")
set(CLIPMINT_RELEASE_YEAR ${CMAKE_MATCH_4})
set(clipmint_day ${CMAKE_MATCH_2})
set(clipmint_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND clipmint_months ${CMAKE_MATCH_3} clipmint_month)
if(clipmint_month LESS 0)
    message(FATAL_ERROR "packaging/changelog: no month is called ${CMAKE_MATCH_3}")
endif()
math(EXPR clipmint_month "${clipmint_month} + 1" OUTPUT_FORMAT DECIMAL)
if(clipmint_month LESS 10)
    set(clipmint_month 0${clipmint_month})
endif()
set(CLIPMINT_RELEASE_DATE ${CLIPMINT_RELEASE_YEAR}-${clipmint_month}-${clipmint_day})
