@echo off
rem quiet-deploy.cmd install SETUP.exe [BASE-FOLDER]
rem quiet-deploy.cmd uninstall INSTALL-FOLDER
rem Runs the installer or the uninstaller without a window, waits until it is done and
rem ends with its exit code (README.md: exit codes). Run it elevated, as deployment
rem tools do: a limited administrator's installer restarts itself elevated and its first
rem process ends with 0 at once.
setlocal
if /i "%~1"=="install" goto install
if /i "%~1"=="uninstall" goto uninstall
echo usage: quiet-deploy.cmd install SETUP.exe [BASE-FOLDER] ^| uninstall INSTALL-FOLDER
exit /b 2

:install
set "base=%~3"
if "%base%"=="" goto install_where_registered
rem A quoted folder must not end in a backslash ("D:\" would quote the quote): "D:\." is D:\.
if "%base:~-1%"=="\" set "base=%base%."
start "" /wait "%~2" /q /D "%base%"
exit /b %errorlevel%
:install_where_registered
start "" /wait "%~2" /q
exit /b %errorlevel%

:uninstall
rem unins000.exe started in its folder only copies itself to %TEMP%\KestroGC, starts the
rem copy and ends with 0; the copy removes the product. Starting the copy here waits for
rem the removal and gets its exit code.
if not exist "%TEMP%\KestroGC" mkdir "%TEMP%\KestroGC"
copy /y "%~2\unins000.exe" "%TEMP%\KestroGC\unins000.exe" >nul
if errorlevel 1 exit /b 1
start "" /wait "%TEMP%\KestroGC\unins000.exe" /q
exit /b %errorlevel%
