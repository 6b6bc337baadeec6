# Stages the run-time data beside the program: cmake -DSOURCE_DIR=... -DRUN_DIR=... -P StageRun.cmake
# The page templates and pictures are the program's own and are refreshed on every build. The
# rules file is the user's once the program has saved it, so the shipped one is copied only
# where the run folder has none.
file(MAKE_DIRECTORY ${RUN_DIR}/conf)
file(COPY ${SOURCE_DIR}/conf/ DESTINATION ${RUN_DIR}/conf PATTERN conf.xml EXCLUDE)
if(NOT EXISTS ${RUN_DIR}/conf/conf.xml)
  file(COPY ${SOURCE_DIR}/conf/conf.xml DESTINATION ${RUN_DIR}/conf)
endif()
file(COPY ${SOURCE_DIR}/img/ DESTINATION ${RUN_DIR}/img PATTERN src EXCLUDE)
